// The render engine: the ordered stream of several workers is the stream of
// a sequential render, byte for byte; refusals, stops and abandoned runs end
// every worker with nothing after them.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "effect_harness.h"
#include "foundation/md5.h"
#include "render/effects/effect_table.h"
#include "render/effects/frame_output.h"
#include "render/font_map.h"
#include "render/picture_renderer.h"
#include "render/render_engine.h"

using namespace harness;

namespace {

std::string digestOf(const void* bytes, std::size_t length) {
    char text[33];
    md5_hex(bytes, length, text);
    return text;
}

// Records what reaches a destination: each frame's digest (a repeat
// records the digest of the frame before it) and the run's events.
struct StreamRecorder {
    std::vector<std::string> frames;
    std::vector<std::string> events;  // "start n", "unreadable", "repeat"
    int calls = 0;
    int refuseAt = -1;                // refuse the frame numbered so (0-based) and all after
    bool takesRepeats = false;

    FrameDestination destination() {
        return {write, takesRepeats ? repeat : nullptr, this};
    }
    RenderRunHooks hooks() {
        RenderRunHooks hooks;
        hooks.pictureStarted = [this](int n) { events.push_back("start " + std::to_string(n)); };
        hooks.readFailed = [this](const std::string& text) {
            EXPECT_NE(text.find("MagickReadImage()"), std::string::npos) << text;
            events.push_back("unreadable");
        };
        return hooks;
    }
    int repeats() const { return static_cast<int>(std::count(events.begin(), events.end(), "repeat")); }

    static int write(void* handle, const void* bytes, std::uint32_t length, std::uint32_t* written,
                     void*) {
        auto* recorder = static_cast<StreamRecorder*>(handle);
        if (recorder->refused()) return 0;
        recorder->frames.push_back(digestOf(bytes, length));
        *written = length;
        return 1;
    }
    static int repeat(void* handle) {
        auto* recorder = static_cast<StreamRecorder*>(handle);
        if (recorder->refused()) return 0;
        EXPECT_FALSE(recorder->frames.empty()) << "a repeat needs a frame before it";
        recorder->frames.push_back(recorder->frames.empty() ? "" : recorder->frames.back());
        recorder->events.push_back("repeat");
        return 1;
    }
    bool refused() { return refuseAt >= 0 && calls++ >= refuseAt; }
};

void writeSourcePicture(const std::string& path, const char* source, int width, int height) {
    WandPtr wand(NewMagickWand());
    MagickSetSize(wand.get(), width, height);
    ASSERT_EQ(MagickReadImage(wand.get(), source), MagickTrue) << source;
    writePicture(wand.get(), path);
}

PictureToRender picture(const std::string& path, int effect, const char* caption = "",
                        int position = 4, bool boxed = true) {
    PictureToRender p;
    p.path = path;
    p.effectIndex = effect;
    if (*caption) {
        p.caption.mode = 1;
        p.caption.text = caption;
        p.caption.position = position;
        p.caption.fontName = "黑体";
        p.caption.textColor = rgbColor(255, 255, 255);
        p.caption.boxColor = boxed ? rgbColor(0, 0, 0) : p.caption.textColor;
        p.fontPath = captionFontPath("黑体");
    }
    return p;
}

RenderSettings frameSettings(int W, int H, int pause) {
    RenderSettings settings;
    settings.width = W;
    settings.height = H;
    settings.pauseFrames = pause;
    settings.captionMargins = defaultCaptionMargins;
    settings.captionFontSize = 16;
    settings.outputMode = 1;
    return settings;
}

// Twelve pictures: captions boxed and not, both zooms, a flip, the families
// that end on the previous frame itself, and a file that has gone.
RenderSettings mixedList(const TempFolder& folder, int W, int H) {
    std::string wide = folder / "wide.jpg", tall = folder / "tall.png", small = folder / "small.png";
    std::string check = folder / "check.png", radial = folder / "radial.jpg";
    writeSourcePicture(wide, "gradient:#ff8800-#0044cc", 500, 260);
    writeSourcePicture(tall, "gradient:#22aa44-#ffeecc", 180, 420);
    writeSourcePicture(small, "radial-gradient:#ffff00-#8800aa", 90, 70);
    writeSourcePicture(check, "pattern:checkerboard", 300, 300);
    writeSourcePicture(radial, "radial-gradient:#ffffff-#ff0000", 640, 480);
    RenderSettings settings = frameSettings(W, H, 4);
    settings.pictures = {
        picture(wide, kNoAnimation, "新品上市"),
        picture(tall, 0),
        picture(small, 5),
        picture(check, 60, "包邮", 3),
        picture(folder / "gone.jpg", 31),
        picture(radial, 1),
        picture(wide, 89, "特价", 6, false),
        picture(tall, 21),
        picture(radial, 26),
        picture(small, 45),
        picture(check, 12, "限时", 8),
        picture(wide, 97),
    };
    return settings;
}

// What one worker rendering picture after picture writes: each effect
// starts from the frame the one before it returned.
std::vector<std::string> sequentialStream(const RenderSettings& settings) {
    StreamRecorder recorder;
    WandPtr previous;
    for (const PictureToRender& p : settings.pictures) {
        PreparedPicture prepared = preparePicture(settings, p);
        previous = renderPreparedPicture(settings, p, prepared, std::move(previous),
                                         recorder.destination());
        EXPECT_NE(previous, nullptr);
    }
    return recorder.frames;
}

// The index of the first frame where two streams differ, or -1.
long firstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    auto where = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return where.first == a.end() && where.second == b.end() ? -1 : where.first - a.begin();
}

// Frames of each picture of a sequential render, in order.
std::vector<int> framesPerPicture(const RenderSettings& settings) {
    std::vector<int> counts;
    for (const PictureToRender& p : settings.pictures) {
        EffectContext ctx;
        ctx.W = settings.width;
        ctx.H = settings.height;
        ctx.holdFrames = settings.pauseFrames;
        int frames = 0;
        ctx.outFrames = &frames;
        runEffect(p.effectIndex, ctx);
        counts.push_back(frames);
    }
    return counts;
}

class RenderEngine : public ::testing::Test {
protected:
    TempFolder folder;
};

} // namespace

TEST_F(RenderEngine, OrderedStreamIsTheSequentialStreamAtAnyWorkerCount) {
    // RGB as the preview takes it, YUV converted on the workers for the encoder.
    for (auto [W, H, layout] : {std::tuple{256, 256, FramePixels::Rgb24},
                                std::tuple{320, 180, FramePixels::Rgb24},
                                std::tuple{320, 180, FramePixels::Yuv420p}}) {
        SCOPED_TRACE(::testing::Message()
                     << W << "x" << H << (layout == FramePixels::Rgb24 ? " RGB" : " YUV"));
        RenderSettings settings = mixedList(folder, W, H);
        settings.framePixels = layout;
        std::vector<std::string> sequential = sequentialStream(settings);
        std::vector<int> counts = framesPerPicture(settings);
        int total = 0;
        for (int n : counts) total += n;
        ASSERT_EQ(static_cast<int>(sequential.size()), total);
        std::vector<std::string> events;
        for (int n = 1; n <= 12; ++n) {
            events.push_back("start " + std::to_string(n));
            if (n == 5) events.push_back("unreadable");
        }
        for (int workers : {1, 2, 8}) {
            SCOPED_TRACE(::testing::Message() << workers << " workers");
            StreamRecorder recorder;
            EXPECT_EQ(renderFrameStream(settings, recorder.destination(), recorder.hooks(), workers),
                      RenderOutcome::Completed);
            EXPECT_EQ(recorder.frames.size(), sequential.size());
            EXPECT_EQ(firstDifference(recorder.frames, sequential), -1);
            EXPECT_EQ(recorder.events, events);
        }
    }
}

TEST_F(RenderEngine, HeldFramesArriveAsRepeatsOfTheFrameBefore) {
    std::string red = folder / "red.png";
    writePicture(solidCanvas(64, 64, "#ff0000").get(), red);
    RenderSettings settings = frameSettings(128, 96, 5);
    // No animation writes its first hold frame; a fade writes its final
    // frame, then five repeats, or three caption steps and two repeats.
    settings.pictures = {picture(red, kNoAnimation), picture(red, 31, "标题"), picture(red, 31)};
    std::vector<std::string> sequential = sequentialStream(settings);
    StreamRecorder recorder;
    recorder.takesRepeats = true;
    ASSERT_EQ(renderFrameStream(settings, recorder.destination(), recorder.hooks(), 3),
              RenderOutcome::Completed);
    EXPECT_EQ(recorder.repeats(), 4 + 2 + 5);
    EXPECT_EQ(firstDifference(recorder.frames, sequential), -1) << "repeats expand to the stream";
}

TEST_F(RenderEngine, RefusedFrameEndsTheRunWithNothingAfterIt) {
    RenderSettings settings = mixedList(folder, 192, 144);
    int total = static_cast<int>(sequentialStream(settings).size());
    std::mt19937 random(15);
    std::vector<int> refusals = {0, 1, total / 2, total - 1};
    for (int i = 0; i < 4; ++i) refusals.push_back(static_cast<int>(random() % total));
    for (int refuseAt : refusals) {
        for (bool repeats : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "refused at " << refuseAt << (repeats ? " with repeats" : ""));
            StreamRecorder recorder;
            recorder.refuseAt = refuseAt;
            recorder.takesRepeats = repeats;
            EXPECT_EQ(renderFrameStream(settings, recorder.destination(), recorder.hooks(), 4),
                      RenderOutcome::Refused);
            EXPECT_EQ(recorder.calls, refuseAt + 1) << "no frame may follow a refusal";
            EXPECT_EQ(static_cast<int>(recorder.frames.size()), refuseAt);
        }
    }
}

namespace {

// Encodes a frame as its centre pixel, but for the frame numbered
// failAt (0-based, in the order the workers make them), which it cannot make.
std::atomic<int> framesEncoded{0};
std::atomic<int> failAt{-1};
unsigned char* centrePixelFailingOnce(MagickWand* frame, std::size_t* length, void*) {
    if (framesEncoded++ == failAt) return nullptr;
    auto* centre = static_cast<unsigned char*>(AcquireMagickMemory(3));
    MagickExportImagePixels(frame, MagickGetImageWidth(frame) / 2, MagickGetImageHeight(frame) / 2, 1, 1,
                            "RGB", CharPixel, centre);
    *length = 3;
    return centre;
}

} // namespace

// A frame that cannot be made ends the run as failed, not as completed with
// the frames after it missing; the frames before it are delivered. (Without
// captions every frame made is delivered: a caption's hold frames replace
// a frame made before them.)
TEST_F(RenderEngine, AFrameThatCannotBeMadeFailsTheRun) {
    RenderSettings settings = mixedList(folder, 96, 72);
    for (PictureToRender& p : settings.pictures) p.caption.mode = 0;
    FrameEncoder saved = setFrameEncoder(centrePixelFailingOnce);
    StreamRecorder whole;
    framesEncoded = 0;
    ASSERT_EQ(renderFrameStream(settings, whole.destination(), whole.hooks(), 1), RenderOutcome::Completed);
    const int total = framesEncoded;
    for (int at : {0, total / 2, total - 1}) {
        for (int workers : {1, 4}) {
            SCOPED_TRACE(::testing::Message() << "frame " << at << " of " << total << ", " << workers << " workers");
            framesEncoded = 0;
            failAt = at;
            StreamRecorder recorder;
            EXPECT_EQ(renderFrameStream(settings, recorder.destination(), recorder.hooks(), workers),
                      RenderOutcome::Failed);
            EXPECT_LT(recorder.frames.size(), whole.frames.size());
            EXPECT_TRUE(std::equal(recorder.frames.begin(), recorder.frames.end(), whole.frames.begin()))
                << "the frames delivered are the first of the whole stream";
        }
    }
    failAt = -1;
    setFrameEncoder(saved);
}

TEST_F(RenderEngine, StopEndsTheRunBeforeTheNextPicture) {
    RenderSettings settings = mixedList(folder, 192, 144);
    std::vector<std::string> sequential = sequentialStream(settings);
    std::vector<int> counts = framesPerPicture(settings);
    std::mt19937 random(42);
    for (int i = 0; i < 6; ++i) {
        const std::size_t stopAfter = random() % sequential.size();
        SCOPED_TRACE(::testing::Message() << "stop after frame " << stopAfter);
        StreamRecorder recorder;
        RenderRunHooks hooks = recorder.hooks();
        hooks.stopBeforePicture = [&] { return recorder.frames.size() > stopAfter; };
        EXPECT_EQ(renderFrameStream(settings, recorder.destination(), hooks, 8),
                  RenderOutcome::Stopped);
        // The picture under way when Stop came is delivered whole.
        std::size_t through = 0;
        int pictures = 0;
        while (through <= stopAfter) through += counts[pictures++];
        EXPECT_EQ(recorder.frames.size(), through);
        EXPECT_EQ(firstDifference(recorder.frames,
                                  std::vector<std::string>(sequential.begin(),
                                                           sequential.begin() + through)),
                  -1);
        EXPECT_EQ(recorder.events.back(), "start " + std::to_string(pictures));
    }
}

TEST_F(RenderEngine, AbandonedRunEndsAtOnce) {
    RenderSettings settings = mixedList(folder, 192, 144);
    for (std::size_t abandonAfter : {std::size_t{0}, std::size_t{3}, std::size_t{40}}) {
        SCOPED_TRACE(::testing::Message() << "abandoned after " << abandonAfter);
        StreamRecorder recorder;
        RenderRunHooks hooks = recorder.hooks();
        hooks.abandon = [&] { return recorder.frames.size() >= abandonAfter; };
        EXPECT_EQ(renderFrameStream(settings, recorder.destination(), hooks, 8),
                  RenderOutcome::Stopped);
        EXPECT_EQ(recorder.frames.size(), abandonAfter);
    }
}

TEST_F(RenderEngine, EmptyListDeliversNothing) {
    StreamRecorder recorder;
    EXPECT_EQ(renderFrameStream(frameSettings(64, 64, 3), recorder.destination(), recorder.hooks(), 4),
              RenderOutcome::Completed);
    EXPECT_TRUE(recorder.frames.empty());
    EXPECT_TRUE(recorder.events.empty());
}

namespace {

// Encodes a frame as its centre pixel and records, for the frames that are
// not plain red, the thread that encoded them. The first such frame waits
// (two seconds at most) until another thread has encoded one.
struct ThreadsDrawingSteps {
    static std::mutex lock;
    static std::condition_variable changed;
    static std::vector<std::thread::id> threads;

    static unsigned char* encode(MagickWand* frame, std::size_t* length, void*) {
        auto* centre = static_cast<unsigned char*>(AcquireMagickMemory(3));
        MagickExportImagePixels(frame, MagickGetImageWidth(frame) / 2,
                                MagickGetImageHeight(frame) / 2, 1, 1, "RGB", CharPixel, centre);
        *length = 3;
        if (centre[0] == 255 && centre[1] == 0 && centre[2] == 0) return centre;
        std::unique_lock<std::mutex> hold(lock);
        threads.push_back(std::this_thread::get_id());
        changed.notify_all();
        if (threads.size() == 1)
            changed.wait_for(hold, std::chrono::seconds(2), [] {
                return std::any_of(threads.begin(), threads.end(),
                                   [](std::thread::id id) { return id != threads.front(); });
            });
        return centre;
    }
};

std::mutex ThreadsDrawingSteps::lock;
std::condition_variable ThreadsDrawingSteps::changed;
std::vector<std::thread::id> ThreadsDrawingSteps::threads;

} // namespace

TEST_F(RenderEngine, AWorkerWithNothingLeftDrawsTheStepsOfThePictureBeingDelivered) {
    std::string red = folder / "red.png", blue = folder / "blue.png";
    writePicture(solidCanvas(96, 96, "#ff0000").get(), red);
    writePicture(solidCanvas(96, 96, "#0000ff").get(), blue);
    RenderSettings settings = frameSettings(96, 96, 2);
    // A zoom's steps after a picture the other worker ends at once.
    settings.pictures = {picture(red, kNoAnimation), picture(blue, 0)};
    FrameEncoder saved = setFrameEncoder(ThreadsDrawingSteps::encode);
    StreamRecorder recorder;
    EXPECT_EQ(renderFrameStream(settings, recorder.destination(), recorder.hooks(), 2),
              RenderOutcome::Completed);
    setFrameEncoder(saved);
    std::vector<std::thread::id> threads = ThreadsDrawingSteps::threads;
    std::sort(threads.begin(), threads.end());
    EXPECT_EQ(std::unique(threads.begin(), threads.end()) - threads.begin(), 2);
}
