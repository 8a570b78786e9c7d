#include "platform/window_controls.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A combo without an insertion of its own: items and a selection that
// deleting an item clears or moves, as a drop-down list does.
std::vector<std::string> items;
int selection = -1;

const WindowControlsHandler appendOnlyCombo = {
    [](int) { return selection; },
    [](int, int index) { selection = index >= 0 && index < static_cast<int>(items.size()) ? index : -1; },
    [](int) { return static_cast<int>(items.size()); },
    [](int, int index) { return index >= 0 && index < static_cast<int>(items.size()) ? items[index] : std::string(); },
    [](int, const std::string& text) {
        items.push_back(text);
        return static_cast<int>(items.size()) - 1;
    },
    [](int, int index) {
        items.erase(items.begin() + index);
        if (selection == index) selection = -1;
        else if (selection > index) --selection;
    },
    [](int) { return 0; },
    [](int, int) {},
    [](int) { return std::string(); },
    [](int, const std::string&) {},
    [](int) {},
    nullptr,
};

std::vector<std::string> texts(int id) {
    std::vector<std::string> all;
    for (int i = 0; i < comboGetCount(id); ++i) all.push_back(comboGetItemText(id, i));
    return all;
}

} // namespace

TEST(WindowControls, InsertAndReplaceKeepTheSelectedItem) {
    for (bool native : {true, false}) {
        resetWindowControls();
        items.clear();
        selection = -1;
        setWindowControlsHandler(native ? nullptr : &appendOnlyCombo);
        for (const char* text : {"", "a", "local"}) comboAddString(7, text);
        comboSetCurSel(7, 2);
        EXPECT_EQ(comboInsertString(7, 2, "b"), 2) << native;
        EXPECT_EQ(texts(7), (std::vector<std::string>{"", "a", "b", "local"})) << native;
        EXPECT_EQ(comboGetCurSel(7), 3) << native;
        EXPECT_EQ(comboInsertString(7, 99, "end"), 4) << native;
        comboReplaceString(7, 3, "LOCAL");
        EXPECT_EQ(texts(7), (std::vector<std::string>{"", "a", "b", "LOCAL", "end"})) << native;
        EXPECT_EQ(comboGetCurSel(7), 3) << native;
        comboSetCurSel(7, 0);
        comboReplaceString(7, 1, "A");
        EXPECT_EQ(comboGetCurSel(7), 0) << native;
        comboReplaceString(7, 9, "nothing");
        EXPECT_EQ(texts(7), (std::vector<std::string>{"", "A", "b", "LOCAL", "end"})) << native;
    }
    setWindowControlsHandler(nullptr);
    resetWindowControls();
}
