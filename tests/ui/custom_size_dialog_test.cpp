#include "ui/custom_size_dialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <string>

#include "dialog_test_support.h"
#include "platform/message_box.h"

using namespace dialog_test;

namespace {

TEST(CustomVideoSize, ChecksRunInOrderAndTheFirstFailureSpeaks) {
    const struct {
        const char* width;
        const char* height;
        int failedCheck;
        const char* message;
        bool focusHeight;
    } cases[] = {
        {"1920", "1080", 0, nullptr, false},
        {"3840", "2160", 0, nullptr, false},
        {"256", "256", 0, nullptr, false},
        {"", "1081", 1, "请输入视频的宽度", false},  // empty width before the odd height
        {"1920", "", 2, "请输入视频的高度", true},
        {"1921", "1080", 3, "视频的宽度必须是偶数(能被2整除)", false},
        {"1921", "1081", 3, "视频的宽度必须是偶数(能被2整除)", false},
        {"1920", "1081", 4, "视频的高度必须是偶数(能被2整除)", true},
        {"4000", "1080", 5, "视频的宽度必须在 256 - 3840 之间", false},
        {"254", "254", 5, "视频的宽度必须在 256 - 3840 之间", false},  // even, so check 3 passes
        {"3842", "2000", 5, "视频的宽度必须在 256 - 3840 之间", false},
        {"1920", "2162", 6, "视频的高度必须在 256 - 2160 之间", true},
        {"1920", "254", 6, "视频的高度必须在 256 - 2160 之间", true},
        {"0000", "0000", 5, "视频的宽度必须在 256 - 3840 之间", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.width) + " x " + c.height);
        CustomVideoSizeVerdict verdict = checkCustomVideoSize(c.width, c.height);
        EXPECT_EQ(verdict.failedCheck, c.failedCheck);
        EXPECT_EQ(verdict.message ? std::string(verdict.message) : "", c.message ? c.message : "");
        EXPECT_EQ(verdict.focusHeight, c.focusHeight);
    }
}

class CustomSizeDialogTest : public testing::Test {
protected:
    BoxRecorder boxes;
    QWidget owner;
};

TEST_F(CustomSizeDialogTest, EditsTakeFourDigitsAndNothingElse) {
    CustomVideoSizeDialog dialog(&owner);
    typeText(dialog.widthEdit(), "12a-3.45");
    EXPECT_EQ(dialog.widthEdit()->text().toStdString(), "1234");
    typeText(dialog.heightEdit(), "99999");
    EXPECT_EQ(dialog.heightEdit()->text().toStdString(), "9999");
}

TEST_F(CustomSizeDialogTest, WrongSizeKeepsTheDialogOpenAndFocusesTheEdit) {
    CustomVideoSizeResult result{0, 0, 0};
    CustomVideoSizeDialog dialog(&owner);
    dialog.beginRun(&result);
    dialog.show();
    dialog.activateWindow();
    typeText(dialog.widthEdit(), "1920");
    typeText(dialog.heightEdit(), "2162");
    dialog.okButton()->click();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "视频的高度必须在 256 - 2160 之间");
    EXPECT_EQ(boxes.boxes[0].caption, "提示");
    EXPECT_EQ(boxes.boxes[0].type, unsigned(MB_ICONWARNING));
    EXPECT_EQ(boxes.boxes[0].owner, static_cast<QWidget*>(&dialog));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(result.ok, 0);
    EXPECT_EQ(dialog.focusWidget(), dialog.heightEdit());
}

// The whole run through the entry function, as the size combo makes it.
TEST_F(CustomSizeDialogTest, RunsReturnTheSizeAndStartEmptyEachTime) {
    CustomVideoSizeResult result{0, 0, 0};
    QWidget* shown = nullptr;
    auto typeAndOk = [&](const char* w, const char* h) {
        return [&shown, w, h] {
            auto* dialog = static_cast<CustomVideoSizeDialog*>(QApplication::activeModalWidget());
            shown = dialog;
            EXPECT_TRUE(dialog->widthEdit()->text().isEmpty());
            EXPECT_TRUE(dialog->heightEdit()->text().isEmpty());
            typeText(dialog->widthEdit(), w);
            typeText(dialog->heightEdit(), h);
            dialog->okButton()->click();
        };
    };
    QTimer::singleShot(0, typeAndOk("1280", "720"));
    EXPECT_TRUE(showCustomVideoSizeDialog(&owner, &result));
    EXPECT_EQ(result.ok, 1);
    EXPECT_EQ(result.width, 1280);
    EXPECT_EQ(result.height, 720);
    ASSERT_NE(shown, nullptr);
    EXPECT_FALSE(shown->isVisible());

    // Cancel by Escape: ok goes back to 0.
    QTimer::singleShot(0, [&] {
        auto* dialog = static_cast<CustomVideoSizeDialog*>(QApplication::activeModalWidget());
        EXPECT_EQ(dialog, shown);  // the same window, kept between runs
        EXPECT_TRUE(dialog->widthEdit()->text().isEmpty());
        typeText(dialog->widthEdit(), "800");
        pressKey(dialog, Qt::Key_Escape);
    });
    EXPECT_FALSE(showCustomVideoSizeDialog(&owner, &result));
    EXPECT_EQ(result.ok, 0);

    // The close box leaves the record as the caller set it.
    result = {7, 1, 1};
    QTimer::singleShot(0, [&] { QApplication::activeModalWidget()->close(); });
    EXPECT_FALSE(showCustomVideoSizeDialog(&owner, &result));
    EXPECT_EQ(result.ok, 7);
    EXPECT_TRUE(boxes.boxes.empty());
}

}  // namespace
