// Test support for the modal windows: message boxes recorded and answered
// from a script, and keys typed into widgets.
#pragma once

#include <QWidget>

#include <deque>
#include <string>
#include <vector>

namespace dialog_test {

struct Box {
    void* owner;
    std::string text, caption;
    unsigned type;
};

// Records every message box while it lives; each box takes the next
// scripted answer, or its first button when the script is empty.
class BoxRecorder {
public:
    BoxRecorder();
    ~BoxRecorder();
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;

    void answer(int button) { answers.push_back(button); }
    std::vector<Box> boxes;
    std::deque<int> answers;
};

// Sends key presses for text (digits, letters, '.', '-') to widget, as typing would.
void typeText(QWidget* widget, const std::string& text);
// Sends one key press and release (Escape, Return, Tab...).
void pressKey(QWidget* widget, int key);

}  // namespace dialog_test
