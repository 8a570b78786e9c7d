#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <vector>

#include "platform/main_command.h"
#include "platform/window_controls.h"
#include "ui/command_router.h"
#include "ui/control_registry.h"

namespace {

struct Call {
    int id, code;
    bool operator==(const Call&) const = default;
};

class RouterTest : public testing::Test {
protected:
    void SetUp() override { clearCommandHandlers(); }
    void TearDown() override {
        clearCommandHandlers();
        setMainCommandHandler(nullptr);
        setWindowControlsHandler(nullptr);
    }
    CommandHandler recorder() {
        return [this](int id, int code) { calls.push_back({id, code}); };
    }
    std::vector<Call> calls;
};

TEST_F(RouterTest, EveryIdReachesOneHandlerAndRangesDoNotOverlap) {
    EXPECT_TRUE(setCommandHandler(35604, 35613, recorder()));
    EXPECT_TRUE(setCommandHandler(35600, recorder()));
    // Refused: inside, overlapping either end, or covering the range.
    EXPECT_FALSE(setCommandHandler(35610, recorder()));
    EXPECT_FALSE(setCommandHandler(35613, 35620, recorder()));
    EXPECT_FALSE(setCommandHandler(35601, 35604, recorder()));
    EXPECT_FALSE(setCommandHandler(35590, 35700, recorder()));
    EXPECT_FALSE(setCommandHandler(35600, recorder()));
    EXPECT_TRUE(setCommandHandler(35614, recorder()));

    EXPECT_TRUE(dispatchCommand(35604, 0));
    EXPECT_TRUE(dispatchCommand(35613, 1));
    EXPECT_FALSE(dispatchCommand(35603, 0));
    EXPECT_FALSE(dispatchCommand(35615, 0));
    EXPECT_EQ(calls, (std::vector<Call>{{35604, 0}, {35613, 1}}));
}

TEST_F(RouterTest, CodeAndWidgetsSendTheSameCommands) {
    installCommandRouter();
    setCommandHandler(36124, recorder());
    setCommandHandler(36108, recorder());
    setCommandHandler(36114, recorder());

    sendMainCommand(36124, CBN_SELCHANGE);

    QComboBox combo;
    combo.addItems({"a", "b"});
    bindCommand(&combo, 36124);
    combo.setCurrentIndex(1);  // code changes alone send nothing for combos
    emit combo.activated(1);
    QCheckBox check;
    bindCommand(&check, 36108);
    check.click();
    QLineEdit edit;
    bindCommand(&edit, 36114);
    edit.setText("x");

    EXPECT_EQ(calls, (std::vector<Call>{{36124, CBN_SELCHANGE},
                                        {36124, CBN_SELCHANGE},
                                        {36108, BN_CLICKED},
                                        {36114, EN_CHANGE}}));
}

TEST_F(RouterTest, WindowControlsReachTheRegisteredWidgets) {
    installWindowControls();
    auto* combo = new QComboBox;
    auto* check = new QCheckBox;
    auto* edit = new QLineEdit;
    registerControl(36123, combo);
    registerControl(36117, check);
    registerControl(36119, edit);

    EXPECT_EQ(comboAddString(36123, "first"), 0);
    EXPECT_EQ(comboGetCurSel(36123), 0);  // the first item is selected
    EXPECT_EQ(comboAddString(36123, "second"), 1);
    comboSetCurSel(36123, 5);
    EXPECT_EQ(comboGetCurSel(36123), -1);
    comboSetCurSel(36123, 1);
    EXPECT_EQ(comboGetItemText(36123, comboGetCurSel(36123)), "second");
    EXPECT_EQ(comboGetItemText(36123, 2), "");
    comboDeleteString(36123, 0);
    EXPECT_EQ(comboGetCount(36123), 1);
    EXPECT_EQ(comboInsertString(36123, 0, "zero"), 0);  // before the selected item, which stays selected
    EXPECT_EQ(comboGetItemText(36123, comboGetCurSel(36123)), "second");
    comboReplaceString(36123, 1, "二");
    EXPECT_EQ(comboGetItemText(36123, comboGetCurSel(36123)), "二");
    comboDeleteString(36123, 0);

    setChecked(36117, 1);
    EXPECT_TRUE(check->isChecked());
    setControlText(36119, "/tmp/图标.png");
    EXPECT_EQ(getControlText(36119), "/tmp/图标.png");

    // A gone widget or a widget of another kind answers as an empty control.
    delete combo;
    EXPECT_EQ(comboGetCount(36123), 0);
    EXPECT_EQ(comboGetCurSel(36117), -1);
    EXPECT_EQ(isChecked(36119), 0);
    delete check;
    delete edit;
}

} // namespace
