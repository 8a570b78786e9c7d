#include "platform/audio_player.h"

#include <SDL2/SDL.h>
#include <mpg123.h>

#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <utility>

#include "platform/regular_file.h"
#include "platform/ui_thread.h"

namespace {

// End notices wait here and are handed to the user-interface thread one at
// a time by a thread of their own: the audio callback must never block, and
// the user-interface thread must never wait for a thread that may be inside
// runOnUiThread. The queue lives for the whole process (it is never freed,
// so no notice can outlive it).
struct NoticeQueue {
    std::mutex lock;
    std::condition_variable ready;
    std::deque<std::pair<AudioEndHandler, AudioEnd>> notices;
    bool running = false;
};

NoticeQueue& noticeQueue() {
    static NoticeQueue* queue = new NoticeQueue;
    return *queue;
}

void deliverNotices() {
    NoticeQueue& queue = noticeQueue();
    for (;;) {
        std::unique_lock<std::mutex> hold(queue.lock);
        queue.ready.wait(hold, [&] { return !queue.notices.empty(); });
        auto notice = std::move(queue.notices.front());
        queue.notices.pop_front();
        hold.unlock();
        runOnUiThread([&notice] { notice.first(notice.second); });
    }
}

// Started from open(), on the caller's thread, so that the audio callback
// only ever queues.
void startNoticeThread() {
    NoticeQueue& queue = noticeQueue();
    std::lock_guard<std::mutex> hold(queue.lock);
    if (queue.running) return;
    std::thread(deliverNotices).detach();
    queue.running = true;
}

void postNotice(AudioEndHandler handler, AudioEnd code) {
    if (!handler) return;
    NoticeQueue& queue = noticeQueue();
    {
        std::lock_guard<std::mutex> hold(queue.lock);
        queue.notices.emplace_back(std::move(handler), code);
    }
    queue.ready.notify_one();
}

bool startAudio() {
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        started = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
        mpg123_init();
    });
    return started;
}

// Opens path in the decoder as 16-bit stereo, once it is known to be a
// regular file: libmpg123 opens what it is given, and a FIFO would block it.
// The decoder reopens the checked file through /proc, so a path swapped
// meanwhile is not what it reads.
bool openFixed(mpg123_handle* decoder, const std::string& path) {
    const int fd = openRegularFile(path.c_str());
    if (fd < 0) return false;
    const std::string opened = "/proc/self/fd/" + std::to_string(fd);
    const bool ok = mpg123_open_fixed(decoder, opened.c_str(), MPG123_STEREO, MPG123_ENC_SIGNED_16) == MPG123_OK;
    ::close(fd);
    return ok;
}

constexpr int kChannels = 2;
constexpr Uint16 kBufferFrames = 2048;  // about 46 ms at 44.1 kHz

} // namespace

struct AudioPlayerState {
    mpg123_handle* decoder = nullptr;
    SDL_AudioDeviceID device = 0;
    // The pending notice: the callback and the user-interface thread race
    // for it, and whoever takes it first posts it.
    std::mutex noticeLock;
    AudioEndHandler onEnd;
    bool finished = false;  // the decoder has reached the end (or failed)

    void finish(AudioEnd code) {
        AudioEndHandler handler;
        {
            std::lock_guard<std::mutex> hold(noticeLock);
            if (code != AudioEnd::Superseded && code != AudioEnd::Aborted) finished = true;
            handler = std::move(onEnd);
            onEnd = nullptr;
        }
        postNotice(std::move(handler), code);
    }
};

namespace {

// SDL's audio thread: decodes straight into the device's buffer and fills
// what is left with silence once the file has ended.
void SDLCALL fillAudio(void* userdata, Uint8* stream, int length) {
    auto* state = static_cast<AudioPlayerState*>(userdata);
    std::size_t filled = 0;
    const std::size_t wanted = static_cast<std::size_t>(length);
    bool finished;
    {
        std::lock_guard<std::mutex> hold(state->noticeLock);
        finished = state->finished;
    }
    int idleReads = 0;
    while (!finished && filled < wanted) {
        std::size_t done = 0;
        int result = mpg123_read(state->decoder, stream + filled, wanted - filled, &done);
        filled += done;
        if (result == MPG123_OK || result == MPG123_NEW_FORMAT) {
            // A decoder that keeps answering without data would spin here.
            if (done == 0 && ++idleReads > 16) result = MPG123_ERR;
            else continue;
        }
        state->finish(result == MPG123_DONE ? AudioEnd::Successful : AudioEnd::Failure);
        finished = true;
    }
    std::memset(stream + filled, 0, wanted - filled);
}

} // namespace

AudioPlayer::AudioPlayer() = default;

AudioPlayer::~AudioPlayer() { close(); }

bool AudioPlayer::open(const std::string& path) {
    close();
    if (!startAudio()) return false;
    startNoticeThread();
    auto opened = std::make_unique<AudioPlayerState>();
    opened->decoder = mpg123_new(nullptr, nullptr);
    if (!opened->decoder) return false;
    mpg123_param(opened->decoder, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    long rate = 0;
    int channels = 0, encoding = 0;
    if (!openFixed(opened->decoder, path) ||
        mpg123_getformat(opened->decoder, &rate, &channels, &encoding) != MPG123_OK || rate <= 0) {
        mpg123_delete(opened->decoder);
        return false;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(rate);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = kChannels;
    wanted.samples = kBufferFrames;
    wanted.callback = fillAudio;
    wanted.userdata = opened.get();
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to whatever the output needs.
    opened->device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (opened->device == 0) {
        mpg123_delete(opened->decoder);
        return false;
    }
    state = std::move(opened);
    return true;
}

bool AudioPlayer::play(AudioEndHandler onEnd) {
    if (!state) return false;
    AudioEndHandler replaced;
    bool atEnd;
    {
        std::lock_guard<std::mutex> hold(state->noticeLock);
        replaced = std::move(state->onEnd);
        state->onEnd = std::move(onEnd);
        atEnd = state->finished;
    }
    postNotice(std::move(replaced), AudioEnd::Superseded);
    // Playing from the end plays nothing and ends at once.
    if (atEnd) state->finish(AudioEnd::Successful);
    SDL_PauseAudioDevice(state->device, 0);
    return true;
}

bool AudioPlayer::pause() {
    if (!state) return false;
    SDL_PauseAudioDevice(state->device, 1);
    return true;
}

bool AudioPlayer::resume() {
    if (!state) return false;
    SDL_PauseAudioDevice(state->device, 0);
    return true;
}

bool AudioPlayer::stop() {
    if (!state) return false;
    SDL_PauseAudioDevice(state->device, 1);
    SDL_LockAudioDevice(state->device);
    mpg123_seek(state->decoder, 0, SEEK_SET);
    {
        std::lock_guard<std::mutex> hold(state->noticeLock);
        state->finished = false;
    }
    SDL_UnlockAudioDevice(state->device);
    state->finish(AudioEnd::Aborted);
    return true;
}

void AudioPlayer::close() {
    if (!state) return;
    // Closing the device waits for a running callback; no lock is held here.
    SDL_CloseAudioDevice(state->device);
    state->finish(AudioEnd::Aborted);
    mpg123_delete(state->decoder);
    state.reset();
}

bool AudioPlayer::isOpen() const { return state != nullptr; }
