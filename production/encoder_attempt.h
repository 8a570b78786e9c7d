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
#include "production/logo_copy.h"
#include "production/pending_video.h"

struct EncoderAttempt {
    std::shared_ptr<const GenerationSettings> settings;  // a second attempt starts from them
    ArgumentList argv;          // the command line, complete before the runner starts
    // The logo's copy, or null: held until the encoder that reads it has
    // ended, and removed with the last attempt holding it.
    std::shared_ptr<const LogoCopy> logoCopy;
    // The video under its temporary name, which argv writes: the runner
    // keeps it when the encoder ended well, and removes it otherwise.
    std::shared_ptr<PendingVideo> video;

    // The encoder's current folder: the one holding the logo's copy, or
    // empty for the program's own.
    std::string workingFolder() const { return logoCopy ? logoCopy->folder() : std::string(); }

    // Standard-input way: the encoder the video thread started, and the
    // read end of its standard error, which the runner drains and closes.
    int pid = -1;
    int errorFd = -1;

    std::atomic<bool> encoderEnded{false};    // the encoder has ended, or never started
    std::atomic<bool> abandonEncoder{false};  // it never opened the FIFO: the runner ends it
    // A frame could not be made: the encoder got only the frames before it,
    // so its video is short even when it ends well. Set before markVideoDone.
    std::atomic<bool> renderFailed{false};

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
