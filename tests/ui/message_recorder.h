// Records the message boxes a test causes and answers them with a chosen
// button, in place of the prompt layer.
#pragma once

#include <string>
#include <vector>

#include "platform/message_box.h"

struct RecordedBox {
    std::string text;
    std::string caption;
    unsigned type;
};

class MessageRecorder {
public:
    explicit MessageRecorder(int answer = IDOK) {
        instance() = this;
        answer_ = answer;
        previous_ = setMessageBoxHandler(record);
    }
    ~MessageRecorder() {
        setMessageBoxHandler(previous_);
        instance() = nullptr;
    }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<RecordedBox> boxes;

private:
    static MessageRecorder*& instance() {
        static MessageRecorder* current = nullptr;
        return current;
    }
    static int record(void*, const std::string& text, const std::string& caption, unsigned type) {
        instance()->boxes.push_back({text, caption, type});
        return instance()->answer_;
    }
    int answer_;
    MessageBoxHandler previous_;
};
