// The video a generation makes is written under a temporary name beside
// the path the user chose (hidden, with the program's marker, see
// platform/atomic_file.h, and ending ".mp4" so the encoder picks the MP4
// format by it) and takes the chosen name only once the encoder has ended
// well. A stopped, failed or killed generation so never leaves a cut-short
// video under a finished one's name, and a file that was there stays until
// a whole new video replaces it.
#pragma once

#include <memory>
#include <string>

class PendingVideo {
public:
    // Makes the empty temporary beside path. Null when it cannot be made;
    // error then holds the errno value.
    static std::unique_ptr<PendingVideo> make(const std::string& path, int* error);
    // Removes the temporary unless the video was kept.
    ~PendingVideo();
    PendingVideo(const PendingVideo&) = delete;
    PendingVideo& operator=(const PendingVideo&) = delete;

    const std::string& path() const { return path_; }                // the chosen name
    const std::string& temporaryPath() const { return temporary_; }  // what the encoder writes

    // Flushes the finished video to disk and gives it the chosen name,
    // replacing a file there. False when that fails (error holds the errno
    // value); the temporary is removed then.
    bool keep(int* error);
    // Removes the temporary: the video is not finished.
    void discard();

private:
    PendingVideo(std::string path, std::string temporary);
    std::string path_;
    std::string temporary_;  // empty once kept or discarded
};

// The message for a video that cannot be written under path.
std::string videoNotSavedText(const std::string& path, int error);

// Removes the temporaries of generations killed before their end from the
// video folder: only the program's own names, when they are this user's
// regular files and older than any run (links are never followed).
void removeStaleVideoTemporaries(const std::string& folder);
