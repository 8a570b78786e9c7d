// Test support for the modal windows: message boxes recorded and answered
// from a script, keys typed into widgets, and steps run once a modal loop
// shows its window.
#pragma once

#include <QWidget>

#include <deque>
#include <functional>
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

// Runs step on the user-interface thread as soon as window is visible
// (polled from the event loop, so it works inside a modal run).
void whenShown(QWidget* window, std::function<void()> step);

// Processes events until done() holds or timeoutMs passes; returns done().
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 10000);

}  // namespace dialog_test
