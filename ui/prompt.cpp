#include "ui/prompt.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "platform/ui_thread.h"

namespace {

enum : unsigned { kIconMask = 0xF0 };

struct ButtonSpec {
    const char* text;
    int answer;
    QMessageBox::ButtonRole role;
};

// The buttons of a box type, left to right.
std::vector<ButtonSpec> buttonsOf(unsigned type) {
    switch (type & MB_BUTTON_MASK) {
    case MB_OKCANCEL:
        return {{"确定", IDOK, QMessageBox::AcceptRole}, {"取消", IDCANCEL, QMessageBox::RejectRole}};
    case MB_YESNO:
        return {{"是", IDYES, QMessageBox::YesRole}, {"否", IDNO, QMessageBox::NoRole}};
    case MB_YESNOCANCEL:
        return {{"是", IDYES, QMessageBox::YesRole},
                {"否", IDNO, QMessageBox::NoRole},
                {"取消", IDCANCEL, QMessageBox::RejectRole}};
    default:
        return {{"确定", IDOK, QMessageBox::AcceptRole}};
    }
}

QMessageBox::Icon iconOf(unsigned type) {
    switch (type & kIconMask) {
    case MB_ICONERROR: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONWARNING: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

const char* kAnswerProperty = "tevrakoAnswer";

int runBox(void* owner, const std::string& text, const std::string& caption, unsigned type) {
    QMessageBox* box = createMessageBox(static_cast<QWidget*>(owner), QString::fromStdString(text),
                                        QString::fromStdString(caption), type);
    box->exec();
    int answer = messageBoxAnswer(box, type);
    delete box;
    return answer;
}

// Shown on the user-interface thread whoever asks (runOnUiThread calls at
// once when already there).
int qtMessageBox(void* owner, const std::string& text, const std::string& caption, unsigned type) {
    int answer = IDCANCEL;
    runOnUiThread([&] { answer = runBox(owner, text, caption, type); });
    return answer;
}

} // namespace

QMessageBox* createMessageBox(QWidget* owner, const QString& text, const QString& caption,
                              unsigned type) {
    auto* box = new QMessageBox(iconOf(type), caption, QString(), QMessageBox::NoButton, owner);
    // Texts may carry what a service or a file said: shown as written, never as markup or links.
    box->setTextFormat(Qt::PlainText);
    box->setText(text);
    box->setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    bool first = true;
    for (const ButtonSpec& spec : buttonsOf(type)) {
        QPushButton* button = box->addButton(QString::fromUtf8(spec.text), spec.role);
        button->setProperty(kAnswerProperty, spec.answer);
        if (first) box->setDefaultButton(button);
        if (spec.answer == IDCANCEL) box->setEscapeButton(button);
        first = false;
    }
    return box;
}

int messageBoxAnswer(QMessageBox* box, unsigned type) {
    QAbstractButton* clicked = box->clickedButton();
    if (clicked) return clicked->property(kAnswerProperty).toInt();
    // Escape or the close box: the cancel answer where the box has one,
    // else the one answer a plain box can give, else "no".
    switch (type & MB_BUTTON_MASK) {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
        return IDCANCEL;
    case MB_YESNO:
        return IDNO;
    default:
        return IDOK;
    }
}

void installPromptLayer() { setMessageBoxHandler(qtMessageBox); }
