#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Shown {
    std::string text, caption;
    unsigned type;
};
std::vector<Shown> shown;

int recordBox(void*, const std::string& text, const std::string& caption, unsigned type) {
    shown.push_back({text, caption, type});
    return IDNO;
}

} // namespace

TEST(MessageBox, InstalledHandlerReceivesBoxAndAnswers) {
    shown.clear();
    MessageBoxHandler previous = setMessageBoxHandler(recordBox);
    EXPECT_EQ(messageBox(nullptr, "视频长度必须小于61秒", "提示", MB_YESNO | MB_ICONQUESTION), IDNO);
    setMessageBoxHandler(previous);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "提示");
    EXPECT_EQ(shown[0].type, unsigned(MB_YESNO | MB_ICONQUESTION));
}

TEST(MessageBox, FallbackAnswersWithFirstButton) {
    MessageBoxHandler previous = setMessageBoxHandler(nullptr);
    EXPECT_EQ(messageBox(nullptr, "t", "错误", MB_OK | MB_ICONERROR), IDOK);
    EXPECT_EQ(messageBox(nullptr, "t", "确认", MB_YESNOCANCEL), IDYES);
    setMessageBoxHandler(previous);
}
