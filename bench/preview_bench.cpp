// Whether a preview plays smoothly: after the start wait, does the player
// ever run dry and pause to catch up? And does the preview window's own
// work on each frame cost the same in a process that has run a video
// generation and a preview as in a fresh one?
//
//   preview_bench [--pictures N] [--size WxH] [--workers N] [--processors N]
//                 [--screen WxH] [--no-generation] [--rounds N] [--photographs DIR]
//                 [--no-run-memory]
//
// Renders N (10) photo-like pictures of 1000 x 800 (or the first N of the
// "photo N.jpg" files of DIR, generation_bench --write-photographs) at
// W x H (800 x 800), the first without animation and the others over mixed
// effects, with the default pause, through the real preview threads and
// render engine, in real time (a 500 ms waiting period, 40 ms a frame). The
// window is a recorder. Prints the start wait, the frames shown, every
// catch-up pause (when, and how long the player waited), the queue's peak
// and the process's peak memory.
//
// Before the preview, the same list is made into a video through the real
// generate command and tool/ffmpeg (unless --no-generation). The window's
// work on a frame (the copy of the player's bytes into an image and its
// smooth scaling to the picture's place in a window on a screen of the
// given size, 1920 x 1080 by default) is timed before anything ran and
// again after the generation and the preview; both medians are printed
// with their ratio. A frame period is 40 ms. As the program does at start,
// the render's own pixel work is first checked against the installed
// ImageMagick and left to it where they differ.
//
// With --rounds the generation and the preview are repeated N (1) times;
// after each round, once its threads have ended, the process's resident
// memory is printed with what the C library holds of it: a program that
// keeps the memory of a finished run grows with every round.
// --no-run-memory leaves every block to the C library's heap, as before
// runs had memory of their own (render/magick_memory.h).
#include <malloc.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include <wand/MagickWand.h>

#include <QImage>

#include <algorithm>

#include "bench/generation_run.h"
#include "bench/photo_like_picture.h"
#include "bench/process_memory.h"
#include "foundation/globals.h"
#include "foundation/linked_list.h"
#include "platform/command_ids.h"
#include "platform/preview_window.h"
#include "platform/run_memory.h"
#include "platform/window_controls.h"
#include "production/picture_effect.h"
#include "production/preview_player.h"
#include "production/preview_queue.h"
#include "production/preview_run.h"
#include "production/program_folders.h"
#include "production/timing.h"
#include "render/effects/effect_table.h"
#include "render/image.h"
#include "render/magick_memory.h"
#include "render/magick_mirror/mirror_check.h"
#include "render/picture_record.h"
#include "render/picture_renderer.h"
#include "render/render_engine.h"
#include "render/wand_ptr.h"
#include "ui/preview_window.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Playback {
    std::mutex lock;
    Clock::time_point started;
    std::vector<Clock::time_point> frames;
    std::vector<double> pauseStarts;  // seconds after the first frame
    bool waiting = false;
    Clock::time_point waitStarted;
    std::vector<double> pauseLengths;
};
Playback playback;

double since(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

void frameShown(const unsigned char*, std::size_t, int, int) {
    std::lock_guard<std::mutex> hold(playback.lock);
    Clock::time_point now = Clock::now();
    if (playback.waiting) {
        playback.pauseLengths.push_back(since(playback.waitStarted, now));
        playback.waiting = false;
    }
    playback.frames.push_back(now);
}

void pictureShown(PreviewPicture picture) {
    std::lock_guard<std::mutex> hold(playback.lock);
    if (picture != PreviewPicture::Start || playback.frames.empty() || playback.waiting) return;
    playback.waiting = true;
    playback.waitStarted = Clock::now();
    playback.pauseStarts.push_back(since(playback.frames.front(), playback.waitStarted));
}

const PreviewWindowHandler recorder{nullptr, nullptr, frameShown, pictureShown, nullptr};

// Effects spread over the families: every seventh effect that draws frames.
std::vector<int> mixedEffects() {
    std::vector<int> chosen;
    for (int index = 0, seen = 0; index < kEffectTableSize; ++index) {
        if (!effectTable[index].name || index == kNoAnimation) continue;
        if (seen++ % 7 == 0) chosen.push_back(index);
    }
    return chosen;
}

// The preview window's work on one W x H frame, as it shows a frame: the
// player's bytes copied into an image, then scaled smoothly to the place
// the picture takes in a window of 85 % of the screen, while a run is open
// as during a preview. Milliseconds, the median of 41 frames.
double windowWorkMs(int width, int height, QSize screen) {
    RunMemoryScope run;
    std::vector<unsigned char> frame(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t i = 0; i < frame.size(); ++i)
        frame[i] = static_cast<unsigned char>((i * 7 + i / 3001) & 0xff);
    const QSize client(static_cast<int>(0.85f * static_cast<float>(screen.width())),
                       static_cast<int>(0.85f * static_cast<float>(screen.height())));
    const QSize place = previewPictureRect(client, QSize(width, height)).size();
    std::vector<double> times;
    for (int i = 0; i < 41; ++i) {
        Clock::time_point start = Clock::now();
        QImage image = previewFrameImage(frame.data(), width, height);
        QImage scaled = image.scaled(place, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        if (scaled.isNull()) return -1;
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// One preview through the real threads, with what its playback showed;
// false when no frame was shown.
bool previewOnce() {
    {
        std::lock_guard<std::mutex> hold(playback.lock);
        playback.frames.clear();
        playback.pauseStarts.clear();
        playback.pauseLengths.clear();
        playback.waiting = false;
    }
    resetPreviewQueuePeak();
    playback.started = Clock::now();
    startPreview();
    endPreviewThreads();
    const Clock::time_point ended = Clock::now();

    std::lock_guard<std::mutex> hold(playback.lock);
    if (playback.frames.empty()) {
        std::printf("no frame was shown\n");
        return false;
    }
    // Held frames show nothing new, so fewer frames are shown than played.
    std::printf("first frame after %.2f s; %zu new frames shown, the last %.2f s after the first\n",
                since(playback.started, playback.frames.front()), playback.frames.size(),
                since(playback.frames.front(), playback.frames.back()));
    std::printf("catch-up pauses after the start wait: %zu\n", playback.pauseStarts.size());
    for (std::size_t i = 0; i < playback.pauseStarts.size(); ++i)
        std::printf("  at %.2f s, waited %.2f s\n", playback.pauseStarts[i],
                    i < playback.pauseLengths.size() ? playback.pauseLengths[i] : since(playback.waitStarted, ended));
    std::printf("queue peak %.1f MB of %.0f MB; process peak %ld MB\n", previewQueuePeakBytes() / 1048576.0,
                kPreviewQueueLimitBytes / 1048576.0, bench::processMemoryMb("VmHWM"));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    int pictures = 10, width = 800, height = 800, workers = 0, processors = 0;
    int screenWidth = 1920, screenHeight = 1080;
    bool generation = true;
    int rounds = 1;
    bool runMemory = true;
    std::string photographs;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--pictures") == 0 && i + 1 < argc) pictures = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--screen") == 0 && i + 1 < argc)
            std::sscanf(argv[++i], "%dx%d", &screenWidth, &screenHeight);
        else if (std::strcmp(argv[i], "--no-generation") == 0) generation = false;
        else if (std::strcmp(argv[i], "--no-run-memory") == 0) runMemory = false;
        else if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) rounds = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--photographs") == 0 && i + 1 < argc) photographs = argv[++i];
        else if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc)
            std::sscanf(argv[++i], "%dx%d", &width, &height);
        else if (std::strcmp(argv[i], "--workers") == 0 && i + 1 < argc) workers = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--processors") == 0 && i + 1 < argc)
            processors = std::atoi(argv[++i]);
    }
    if (runMemory) useRunMemoryForImageMagick();
    const QSize screen(screenWidth, screenHeight);
    const double freshWorkMs = windowWorkMs(width, height, screen);
    MagickWandGenesis();
    checkOwnPixelWork();
    locateProgramFolders();
    buildEffectNameMap();
    if (workers > 0) setRenderWorkerCount(workers);
    processorCount = processors > 0 ? processors : renderWorkerCount();

    std::string folder = (std::filesystem::temp_directory_path() / "tevrako-bench-XXXXXX").string();
    if (!mkdtemp(folder.data())) return 1;
    workFolder = folder;

    comboAddString(IDC_VIDEO_SIZE, "");
    comboAddString(IDC_VIDEO_SIZE, "size");
    comboSetCurSel(IDC_VIDEO_SIZE, 1);
    for (int i = 0; i < kPauseEntries; ++i) comboAddString(IDC_PAUSE_TIME, pauseEntryLabels[i]);
    comboSetCurSel(IDC_PAUSE_TIME, kDefaultPauseEntry);
    comboAddString(IDC_MUSIC, "");
    comboSetCurSel(IDC_MUSIC, 0);
    videoWidth = width;
    videoHeight = height;
    pauseFrames = pauseFramesForSeconds(pauseSecondsTable[kDefaultPauseEntry]);

    std::vector<int> effects = mixedEffects();
    pictureList = linkedlist_new();
    for (int i = 0; i < pictures; ++i) {
        auto* picture = new PictureRecord;
        picture->path = (photographs.empty() ? folder : photographs) + "/photo " +
                        std::to_string(i) + ".jpg";
        picture->fileName = "photo " + std::to_string(i) + ".jpg";
        picture->effectIndex = i == 0 ? kNoAnimation : effects[(i - 1) % effects.size()];
        picture->effectName = getEffectName(picture->effectIndex);
        if (photographs.empty()) writePhotoLikePicture(picture->path, 1000, 800);
        linkedlist_add(pictureList, picture);
    }
    const int frames = getTotalFrames();
    const PreviewWaits waits = previewBufferingWaits(processorCount);
    std::printf("%d pictures at %d x %d, %d frames (%.2f s), %d workers, processor count %d: "
                "start wait %.1f s, catch-up wait %.1f s\n",
                pictures, width, height, frames, frames / 25.0, renderWorkerCount(), processorCount,
                waits.start * 0.5, waits.catchUp * 0.5);
    std::printf("effects:");
    for (int i = 1; i < pictures; ++i)
        std::printf(" %d", static_cast<PictureRecord*>(linkedlist_get(pictureList, i))->effectIndex);
    std::printf("\n");

    if (generation) bench::prepareGeneration();
    setPreviewWindowHandler(&recorder);
    for (int round = 1; round <= rounds; ++round) {
        if (rounds > 1) std::printf("round %d\n", round);
        if (generation) {
            Clock::time_point start = Clock::now();
            if (!bench::runGeneration(folder + "/generated.mp4")) return 1;
            std::printf("generation of the video first: %.2f s\n", since(start, Clock::now()));
        }
        if (!previewOnce()) return 1;
        const struct mallinfo2 heap = mallinfo2();
        std::printf("idle after the round: resident %ld MB; the C library holds %.1f MB in its "
                    "arenas (%.1f MB of it in use) and %.1f MB in mappings of its own\n",
                    bench::processMemoryMb("VmRSS"), heap.arena / 1048576.0, heap.uordblks / 1048576.0,
                    heap.hblkhd / 1048576.0);
    }
    const double laterWorkMs = windowWorkMs(width, height, screen);
    std::printf("window work per frame (copy and scale for a %d x %d screen): fresh process %.2f ms, "
                "after %s %.2f ms (%.2fx)\n",
                screenWidth, screenHeight, freshWorkMs,
                generation ? "a generation and a preview" : "a preview", laterWorkMs,
                laterWorkMs / freshWorkMs);

    for (int i = 0; i < linkedlist_size(pictureList); ++i)
        delete static_cast<PictureRecord*>(linkedlist_get(pictureList, i));
    linkedlist_free(pictureList, 0);
    pictureList = nullptr;
    std::filesystem::remove_all(folder);
    MagickWandTerminus();
    return 0;
}
