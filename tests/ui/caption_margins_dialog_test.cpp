#include "ui/caption_margins_dialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>

#include "dialog_test_support.h"
#include "foundation/globals.h"
#include "foundation/registry.h"
#include "foundation/temp_folder.h"
#include "platform/message_box.h"

using namespace dialog_test;

namespace {

using Texts = std::array<std::string, kCaptionMarginFields>;

const char* const kValueNames[] = {"watermark_margin_center_bottom", "watermark_margin_left",
                                   "watermark_margin_right", "watermark_margin_top",
                                   "watermark_margin_bottom"};

TEST(CaptionMargins, EmptyAndNumberChecksComeBeforeTheRangeChecks) {
    const struct {
        Texts texts;
        int failedField;
        const char* message;
    } cases[] = {
        {{"15", "6", "6", "6", "6"}, -1, nullptr},
        {{"0.01", "49.99", "1.5", "25", "0.5"}, -1, nullptr},
        {{"", "6", "6", "6", "6"}, 0, "请输入【加文字】 位置：【中间下方】的【下边距】"},
        {{"1a", "6", "6", "6", "6"}, 0,
         "输入的【加文字】 位置：【中间下方】的【下边距】有误！\n\n请输入一个数值, 支持小数。"},
        {{"15", "", "6", "6", "6"}, 1, "请输入【左边距】"},
        {{"15", "6.", "6", "6", "6"}, -1, nullptr},
        {{"15", ".6", "6", "6", "6"}, 1, "输入的【左边距】有误！\n\n 请输入一个数值, 支持小数。"},
        {{"15", "6", "1.2.3", "6", "6"}, 2, "输入的【右边距】有误！\n\n请输入一个数值, 支持小数。"},
        {{"15", "6", "6", "", "6"}, 3, "请输入【上边距】"},
        {{"15", "6", "6", "6", "x"}, 4, "输入的【下边距】有误！\n\n请输入一个数值, 支持小数。"},
        // A range failure in an early field waits until every field is a number.
        {{"50", "6", "6", "6", "abc"}, 4, "输入的【下边距】有误！\n\n请输入一个数值, 支持小数。"},
        {{"50", "6", "6", "6", "6"}, 0,
         "输入的【加文字】 位置：【中间下方】的下边距有误！\n\n请输入一个 0.01 ～ 49.99 范围内的值, 支持小数。"},
        {{"15", "0", "6", "6", "6"}, 1, "输入的【左边距】有误！\n\n请输入一个 0.01 ～ 49.99 范围内的值, 支持小数。"},
        {{"15", "6", "-3", "6", "6"}, 2, "输入的【右边距】有误！\n\n请输入一个 0.01 ～ 49.99 范围内的值, 支持小数。"},
        {{"15", "6", "6", "0.00", "6"}, 3, "输入的【上边距】有误！\n\n请输入一个 0.01 ～ 49.99 范围内的值, 支持小数。"},
        {{"15", "6", "6", "6", "50.0"}, 4, "输入的【下边距】有误！\n\n请输入一个 0.01 ～ 49.99 范围内的值, 支持小数。"},
        {{"15", "6", "6", "6", "49.999"}, -1, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.texts[0] + "|" + c.texts[1] + "|" + c.texts[2] + "|" + c.texts[3] + "|" + c.texts[4]);
        CaptionMarginVerdict verdict = checkCaptionMargins(c.texts);
        EXPECT_EQ(verdict.failedField, c.failedField);
        EXPECT_EQ(verdict.message ? std::string(verdict.message) : "", c.message ? c.message : "");
    }
}

class CaptionMarginsStore : public testing::Test {
protected:
    void SetUp() override {
        ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
        saved = captionMargins;
        savedDefaults = defaultCaptionMargins;
    }
    void TearDown() override {
        captionMargins = saved;
        defaultCaptionMargins = savedDefaults;
    }
    int stored(int field) {
        int value = -1;
        read_registry_dword(HKEY_CURRENT_USER, "SOFTWARE\\Vessoranthe", kValueNames[field], &value);
        return value;
    }
    CaptionMargins saved{}, savedDefaults{};
    TempFolder config;
};

TEST_F(CaptionMarginsStore, AcceptedPercentagesBecomeFractionsAndPreferenceUnits) {
    const struct {
        const char* text;
        float fraction;
        int units;
    } cases[] = {
        {"15", 0.150001f, 1500}, {"6", 0.060001f, 600},   {"49.99", 0.499901f, 4999},
        {"0.01", 0.000101f, 1},  {"12.34", 0.123401f, 1234},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Texts texts;
        texts.fill(c.text);
        CaptionMarginVerdict verdict = checkCaptionMargins(texts);
        ASSERT_EQ(verdict.failedField, -1);
        storeCaptionMargins(verdict.fractions);
        for (int field = 0; field < kCaptionMarginFields; ++field) {
            EXPECT_FLOAT_EQ(captionMarginOf(captionMargins, field), c.fraction);
            EXPECT_EQ(stored(field), c.units) << kValueNames[field];
        }
    }
}

TEST_F(CaptionMarginsStore, EachFieldReachesItsOwnMarginAndValue) {
    CaptionMarginVerdict verdict = checkCaptionMargins({"10", "11", "12", "13", "14"});
    ASSERT_EQ(verdict.failedField, -1);
    storeCaptionMargins(verdict.fractions);
    EXPECT_FLOAT_EQ(captionMargins.centerBottom, 0.100001f);
    EXPECT_FLOAT_EQ(captionMargins.left, 0.110001f);
    EXPECT_FLOAT_EQ(captionMargins.right, 0.120001f);
    EXPECT_FLOAT_EQ(captionMargins.top, 0.130001f);
    EXPECT_FLOAT_EQ(captionMargins.bottom, 0.140001f);
    for (int field = 0; field < kCaptionMarginFields; ++field) EXPECT_EQ(stored(field), 1000 + 100 * field);
}

class CaptionMarginsDialogTest : public CaptionMarginsStore {
protected:
    std::vector<std::string> editTexts(CaptionMarginsDialog* dialog) {
        std::vector<std::string> texts;
        for (int field = 0; field < kCaptionMarginFields; ++field)
            texts.push_back(dialog->edit(field)->text().toStdString());
        return texts;
    }
    BoxRecorder boxes;
    QWidget owner;
};

TEST_F(CaptionMarginsDialogTest, DefaultsThenCancelChangesNothing) {
    captionMargins = {0.1f, 0.2f, 0.03f, 0.04f, 0.25f};  // top, bottom, left, right, centre-bottom
    defaultCaptionMargins = {0.06001f, 0.06001f, 0.06001f, 0.06001f, 0.15001f};
    std::vector<std::string> shown, afterDefaults;
    QTimer::singleShot(0, [&] {
        auto* dialog = static_cast<CaptionMarginsDialog*>(QApplication::activeModalWidget());
        shown = editTexts(dialog);
        dialog->defaultsButton()->click();
        afterDefaults = editTexts(dialog);
        dialog->cancelButton()->click();
    });
    showCaptionMarginDialog(&owner);
    EXPECT_EQ(shown, (std::vector<std::string>{"25.00", "3.00", "4.00", "10.00", "20.00"}));
    EXPECT_EQ(afterDefaults, (std::vector<std::string>{"15.00", "6.00", "6.00", "6.00", "6.00"}));
    EXPECT_FLOAT_EQ(captionMargins.centerBottom, 0.25f);
    EXPECT_EQ(stored(kMarginCenterBottom), -1);  // nothing written

    // Escape saves nothing either, and the next run shows the margins in use again.
    QTimer::singleShot(0, [&] {
        auto* dialog = static_cast<CaptionMarginsDialog*>(QApplication::activeModalWidget());
        shown = editTexts(dialog);
        dialog->edit(kMarginLeft)->setText("9");
        pressKey(dialog, Qt::Key_Escape);
    });
    showCaptionMarginDialog(&owner);
    EXPECT_EQ(shown[kMarginCenterBottom], "25.00");
    EXPECT_FLOAT_EQ(captionMargins.left, 0.03f);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(CaptionMarginsDialogTest, OkRefusesUntilEveryFieldIsRightThenStores) {
    bool stillOpen = false;
    QWidget* focused = nullptr;
    QTimer::singleShot(0, [&] {
        auto* dialog = static_cast<CaptionMarginsDialog*>(QApplication::activeModalWidget());
        for (int field = 0; field < kCaptionMarginFields; ++field) dialog->edit(field)->setText(" 8 ");
        dialog->edit(kMarginTop)->setText("50");
        dialog->okButton()->click();
        stillOpen = dialog->isVisible();
        focused = dialog->focusWidget() == dialog->edit(kMarginTop) ? dialog->edit(kMarginTop) : nullptr;
        dialog->edit(kMarginTop)->setText("7.5");
        dialog->okButton()->click();
    });
    showCaptionMarginDialog(&owner);
    EXPECT_TRUE(stillOpen);
    EXPECT_NE(focused, nullptr);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "输入的【上边距】有误！\n\n请输入一个 0.01 ～ 49.99 范围内的值, 支持小数。");
    EXPECT_EQ(boxes.boxes[0].caption, "提示");
    EXPECT_EQ(boxes.boxes[0].type, unsigned(MB_ICONWARNING));
    EXPECT_FLOAT_EQ(captionMargins.top, 0.075001f);
    EXPECT_EQ(stored(kMarginTop), 750);
    EXPECT_EQ(stored(kMarginLeft), 800);  // blanks around the number are trimmed
}

TEST_F(CaptionMarginsDialogTest, EditsHoldFiveCharactersAtTheirPlaces) {
    CaptionMarginsDialog dialog(&owner);
    EXPECT_EQ(dialog.size(), QSize(396, 326));
    EXPECT_EQ(dialog.windowTitle().toStdString(), "【加文字】边距设置");
    const QRect places[] = {{70, 89, 41, 20}, {70, 180, 41, 20}, {213, 180, 41, 20},
                            {70, 217, 41, 20}, {213, 217, 41, 20}};
    for (int field = 0; field < kCaptionMarginFields; ++field) {
        EXPECT_EQ(dialog.edit(field)->geometry(), places[field]) << field;
        dialog.edit(field)->clear();
        typeText(dialog.edit(field), "12.3456");
        EXPECT_EQ(dialog.edit(field)->text().toStdString(), "12.34");
    }
    EXPECT_EQ(dialog.defaultsButton()->geometry(), QRect(268, 86, 108, 23));
    EXPECT_EQ(dialog.okButton()->geometry(), QRect(116, 272, 75, 23));
    EXPECT_EQ(dialog.cancelButton()->geometry(), QRect(209, 272, 75, 23));
}

}  // namespace
