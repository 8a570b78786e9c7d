// Plays one MP3 file through the sound output: the background music's
// audition and the music that accompanies a preview.
//
// The file is decoded with libmpg123 inside SDL's audio callback. A player
// holds at most one open file; open, play, pause, resume, stop and close
// are called on the user-interface thread.
//
// play takes an end notice, delivered once per play: Successful when the
// file has played to its end, Aborted when stop, close or a new open ends
// the play first, Superseded when another play replaces it, Failure when
// decoding fails. Notices are queued and delivered in order on the
// user-interface thread (through runOnUiThread) after the call that caused
// them has returned, never inside it; the handler may call the player.
#pragma once

#include <functional>
#include <memory>
#include <string>

enum class AudioEnd { Successful, Aborted, Superseded, Failure };

struct AudioPlayerState;

using AudioEndHandler = std::function<void(AudioEnd)>;

class AudioPlayer {
public:
    AudioPlayer();
    ~AudioPlayer();  // closes the file (its pending notice is Aborted)
    AudioPlayer(const AudioPlayer&) = delete;
    AudioPlayer& operator=(const AudioPlayer&) = delete;

    // Opens path, ready to play from its start; a file already open is
    // closed first. False when path is not a regular file (see
    // platform/regular_file.h), the file holds no MPEG audio or no sound
    // output can be opened; the player is then closed.
    bool open(const std::string& path);
    // Plays from the current position. False when nothing is open.
    bool play(AudioEndHandler onEnd);
    bool pause();
    bool resume();
    // Stops and returns to the start of the file; the file stays open.
    bool stop();
    void close();
    bool isOpen() const;

private:
    std::unique_ptr<AudioPlayerState> state;
};
