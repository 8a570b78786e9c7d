#include "dialog_test_support.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include "platform/message_box.h"

namespace dialog_test {

namespace {

BoxRecorder* activeRecorder = nullptr;

int recordBox(void* owner, const std::string& text, const std::string& caption, unsigned type) {
    BoxRecorder* recorder = activeRecorder;
    if (!recorder) return IDOK;
    recorder->boxes.push_back({owner, text, caption, type});
    if (!recorder->answers.empty()) {
        int button = recorder->answers.front();
        recorder->answers.pop_front();
        return button;
    }
    unsigned buttons = type & MB_BUTTON_MASK;
    return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
}

Qt::Key keyOf(char c) {
    if (c >= '0' && c <= '9') return static_cast<Qt::Key>(Qt::Key_0 + (c - '0'));
    if (c >= 'a' && c <= 'z') return static_cast<Qt::Key>(Qt::Key_A + (c - 'a'));
    if (c >= 'A' && c <= 'Z') return static_cast<Qt::Key>(Qt::Key_A + (c - 'A'));
    if (c == '.') return Qt::Key_Period;
    if (c == '-') return Qt::Key_Minus;
    if (c == ' ') return Qt::Key_Space;
    return Qt::Key_unknown;
}

} // namespace

BoxRecorder::BoxRecorder() {
    activeRecorder = this;
    setMessageBoxHandler(recordBox);
}

BoxRecorder::~BoxRecorder() {
    setMessageBoxHandler(nullptr);
    activeRecorder = nullptr;
}

void typeText(QWidget* widget, const std::string& text) {
    for (char c : text) {
        QString s(QChar::fromLatin1(c));
        QKeyEvent press(QEvent::KeyPress, keyOf(c), Qt::NoModifier, s);
        QKeyEvent release(QEvent::KeyRelease, keyOf(c), Qt::NoModifier, s);
        QCoreApplication::sendEvent(widget, &press);
        QCoreApplication::sendEvent(widget, &release);
    }
}

void pressKey(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::sendEvent(widget, &release);
}

}  // namespace dialog_test
