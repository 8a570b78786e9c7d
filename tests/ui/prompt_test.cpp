#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "platform/message_box.h"
#include "ui/prompt.h"

namespace {

struct BoxCase {
    unsigned type;
    std::vector<QString> buttons;  // the first is the default
    std::vector<int> answers;
    QMessageBox::Icon icon;
    int escapeAnswer;
};

QAbstractButton* buttonNamed(QMessageBox* box, const QString& text) {
    for (QAbstractButton* button : box->buttons())
        if (button->text() == text) return button;
    return nullptr;
}

TEST(PromptLayer, EveryBoxTypeHasItsChineseButtonsIconAndAnswers) {
    std::vector<BoxCase> cases = {
        {MB_OK | MB_ICONERROR, {"确定"}, {IDOK}, QMessageBox::Critical, IDOK},
        {MB_OKCANCEL | MB_ICONWARNING, {"确定", "取消"}, {IDOK, IDCANCEL}, QMessageBox::Warning, IDCANCEL},
        {MB_YESNO | MB_ICONQUESTION, {"是", "否"}, {IDYES, IDNO}, QMessageBox::Question, IDNO},
        {MB_YESNOCANCEL | MB_ICONINFORMATION, {"是", "否", "取消"}, {IDYES, IDNO, IDCANCEL},
         QMessageBox::Information, IDCANCEL},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.type);
        std::unique_ptr<QMessageBox> box(createMessageBox(nullptr, "正文", "提示", c.type));
        EXPECT_EQ(box->windowTitle(), "提示");
        EXPECT_EQ(box->text(), "正文");
        EXPECT_EQ(box->icon(), c.icon);
        ASSERT_EQ(box->buttons().size(), qsizetype(c.buttons.size()));
        for (const QString& text : c.buttons) EXPECT_NE(buttonNamed(box.get(), text), nullptr) << text.toStdString();
        EXPECT_EQ(box->defaultButton(), buttonNamed(box.get(), c.buttons[0]));
        EXPECT_EQ(messageBoxAnswer(box.get(), c.type), c.escapeAnswer);
        for (std::size_t i = 0; i < c.buttons.size(); ++i) {
            std::unique_ptr<QMessageBox> again(createMessageBox(nullptr, "正文", "提示", c.type));
            buttonNamed(again.get(), c.buttons[i])->click();
            EXPECT_EQ(messageBoxAnswer(again.get(), c.type), c.answers[i]);
        }
    }
}

TEST(PromptLayer, TextsAreShownAsWrittenNotAsMarkup) {
    const QString text = "<a href=\"file:///etc/passwd\">更新</a>";
    std::unique_ptr<QMessageBox> box(createMessageBox(nullptr, text, "提示", MB_OK));
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->text(), text);
}

} // namespace
