#include <gtest/gtest.h>
#include <string>

#include "ui/kit/input_dialog.h"

namespace {

TEST(InputDialog, TypedTextIsCheckedByMode) {
    struct {
        int mode;
        std::string typed;
        std::string refusal;  // empty: accepted
        std::string value;
    } cases[] = {
        {INPUT_CHARACTER, "a", "", "a"},
        {INPUT_CHARACTER, "\\t", "", "\t"},
        {INPUT_CHARACTER, "\\n", "", "\n"},
        {INPUT_CHARACTER, "\\r", "", "\r"},
        {INPUT_CHARACTER, "", "请输入一个字符", ""},
        {INPUT_CHARACTER, "ab", "只可以输入一个字符(英文字母, 数字, 标点符号等)，不能输入汉字。", ""},
        {INPUT_CHARACTER, "字", "只可以输入一个字符(英文字母, 数字, 标点符号等)，不能输入汉字。", ""},
        {INPUT_INTEGER, " -42 ", "", "-42"},
        {INPUT_INTEGER, "  ", "请输入一个整数", ""},
        {INPUT_INTEGER, "4.2", "只可以输入一个整数", ""},
        {INPUT_INTEGER, "-", "只可以输入一个整数", ""},
        {INPUT_NUMBER, "3.25", "", "3.25"},
        {INPUT_NUMBER, "-0.5", "", "-0.5"},
        {INPUT_NUMBER, "", "请输入一个数", ""},
        {INPUT_NUMBER, "1.2.3", "只可以输入一个数", ""},
        {INPUT_NUMBER, ".5", "只可以输入一个数", ""},
        {INPUT_TEXT, " free text ", "", " free text "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        std::string value = "unchanged";
        EXPECT_EQ(checkInputText(c.mode, c.typed, &value), c.refusal);
        EXPECT_EQ(value, c.refusal.empty() ? c.value : "unchanged");
    }
}

} // namespace
