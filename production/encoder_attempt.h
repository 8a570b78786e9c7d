// One run of the encoder, shared by the video thread that feeds it and the
// runner thread that watches it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "production/encoder_command.h"
#include "production/generation_settings.h"

struct EncoderAttempt {
    std::shared_ptr<const GenerationSettings> settings;  // a second attempt starts from them
    ArgumentList argv;          // the command line, complete before the runner starts
    std::string workingFolder;  // the encoder's current folder (workFolder with a logo), or empty

    // Standard-input way: the encoder the video thread started, and the
    // read end of its standard error, which the runner drains and closes.
    int pid = -1;
    int errorFd = -1;

    std::atomic<bool> encoderEnded{false};    // the encoder has ended, or never started
    std::atomic<bool> abandonEncoder{false};  // it never opened the FIFO: the runner ends it

    // The video thread's end: the runner reports the outcome only after it.
    void markVideoDone() {
        std::lock_guard<std::mutex> hold(lock);
        videoThreadDone = true;
        changed.notify_all();
    }
    bool videoDone() {
        std::lock_guard<std::mutex> hold(lock);
        return videoThreadDone;
    }
    void waitVideoDone() {
        std::unique_lock<std::mutex> hold(lock);
        changed.wait(hold, [this] { return videoThreadDone; });
    }

private:
    std::mutex lock;
    std::condition_variable changed;
    bool videoThreadDone = false;
};
