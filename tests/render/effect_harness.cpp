#include "effect_harness.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>

#include "foundation/globals.h"
#include "pixel_cache_pool.h"
#include "render/effects/effect_table.h"
#include "render/font_map.h"

namespace harness {

namespace {

class MagickEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        MagickWandGenesis();
        installPixelCachePool();
    }
    void TearDown() override {
        MagickWandTerminus();
        drainPixelCachePool();
    }
};

[[maybe_unused]] const auto* registeredEnvironment =
    ::testing::AddGlobalTestEnvironment(new MagickEnvironment);

unsigned char* rawPixelEncoder(MagickWand* frame, std::size_t* length, void*) {
    WandPtr copy(CloneMagickWand(frame));
    MagickSetImageDepth(copy.get(), 8);
    MagickSetImageFormat(copy.get(), "PPM");
    return MagickGetImageBlob(copy.get(), length);
}

// For runs that only count frames: skips the encoding, which dominates them.
unsigned char* markerEncoder(MagickWand*, std::size_t* length, void*) {
    auto* blob = static_cast<unsigned char*>(AcquireMagickMemory(1));
    blob[0] = 'F';
    *length = 1;
    return blob;
}

// Reads the next whitespace-separated number of a PPM header.
bool readHeaderNumber(const std::string& blob, std::size_t& at, int& value) {
    while (at < blob.size() && (std::isspace(static_cast<unsigned char>(blob[at])) ||
                                blob[at] == '#')) {
        if (blob[at] == '#')
            while (at < blob.size() && blob[at] != '\n') ++at;
        else
            ++at;
    }
    std::size_t start = at;
    while (at < blob.size() && std::isdigit(static_cast<unsigned char>(blob[at]))) ++at;
    if (start == at) return false;
    value = std::atoi(blob.substr(start, at - start).c_str());
    return true;
}

Frame decodePpm(const std::string& blob) {
    Frame frame;
    std::size_t at = 2;
    int maxValue = 0;
    if (blob.compare(0, 2, "P6") != 0 || !readHeaderNumber(blob, at, frame.width) ||
        !readHeaderNumber(blob, at, frame.height) || !readHeaderNumber(blob, at, maxValue) ||
        maxValue != 255) {
        ADD_FAILURE() << "frame is not an 8-bit PPM (install RawFrames)";
        return {};
    }
    ++at;  // the single blank after the header
    std::size_t size = static_cast<std::size_t>(frame.width) * frame.height * 3;
    if (blob.size() < at + size) {
        ADD_FAILURE() << "short PPM frame";
        return {};
    }
    frame.rgb.assign(blob.begin() + at, blob.begin() + at + size);
    return frame;
}

} // namespace

std::ostream& operator<<(std::ostream& out, const Rgb& color) {
    return out << "rgb(" << color.r << "," << color.g << "," << color.b << ")";
}

std::ostream& operator<<(std::ostream& out, const Point& point) {
    return out << "(" << point.x << ", " << point.y << ")";
}

Rgb rgbOf(const char* color) {
    unsigned r = 0, g = 0, b = 0;
    std::sscanf(color, "#%02x%02x%02x", &r, &g, &b);
    return {static_cast<int>(r), static_cast<int>(g), static_cast<int>(b)};
}

bool near(const Rgb& a, const Rgb& b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

Rgb Frame::at(int x, int y) const {
    std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

RecordingSink::RecordingSink(int refuseAt) : refuseAt_(refuseAt), saved_(frameSink) {
    frameSink = record;
}

RecordingSink::~RecordingSink() { frameSink = saved_; }

int RecordingSink::record(void* handle, const void* bytes, std::uint32_t length,
                          std::uint32_t* written, void* overlapped) {
    auto* sink = static_cast<RecordingSink*>(handle);
    EXPECT_EQ(overlapped, nullptr);
    int index = sink->calls_++;
    if (sink->refuseAt_ >= 0 && index >= sink->refuseAt_) return 0;
    sink->blobs_.emplace_back(static_cast<const char*>(bytes), length);
    *written = length;
    return 1;
}

Frame RecordingSink::frame(std::size_t i) const { return decodePpm(blobs_.at(i)); }

RawFrames::RawFrames() : saved_(setFrameEncoder(rawPixelEncoder)) {}
RawFrames::~RawFrames() { setFrameEncoder(saved_); }

WandPtr solidCanvas(int width, int height, const char* color) {
    WandPtr wand(NewMagickWand());
    PixelWandPtr fill = newPixelWand(color);
    MagickNewImage(wand.get(), width, height, fill.get());
    return wand;
}

WandPtr positionCodedCanvas(int width, int height) {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
            pixels[i] = static_cast<unsigned char>(x % 256);
            pixels[i + 1] = static_cast<unsigned char>(y % 256);
            pixels[i + 2] = static_cast<unsigned char>(16 * (x / 256) + y / 256);
        }
    WandPtr wand = solidCanvas(width, height, "#000000");
    MagickImportImagePixels(wand.get(), 0, 0, width, height, "RGB", CharPixel, pixels.data());
    return wand;
}

Point positionOf(const Rgb& color) {
    return {color.r + 256 * (color.b / 16), color.g + 256 * (color.b % 16)};
}

WandPtr negativeCodedCanvas(int width, int height) {
    WandPtr wand = positionCodedCanvas(width, height);
    MagickNegateImage(wand.get(), MagickFalse);
    return wand;
}

Point negativePositionOf(const Rgb& color) {
    return positionOf({255 - color.r, 255 - color.g, 255 - color.b});
}

void writePicture(MagickWand* wand, const std::string& path) {
    ASSERT_EQ(MagickWriteImage(wand, path.c_str()), MagickTrue) << path;
}

Rgb pixelOf(MagickWand* wand, int x, int y) {
    unsigned char rgb[3] = {};
    MagickExportImagePixels(wand, x, y, 1, 1, "RGB", CharPixel, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

Frame frameOf(MagickWand* wand) {
    Frame frame;
    frame.width = static_cast<int>(MagickGetImageWidth(wand));
    frame.height = static_cast<int>(MagickGetImageHeight(wand));
    frame.rgb.resize(static_cast<std::size_t>(frame.width) * frame.height * 3);
    MagickExportImagePixels(wand, 0, 0, frame.width, frame.height, "RGB", CharPixel,
                            frame.rgb.data());
    return frame;
}

int pixelsNear(const Frame& frame, const Rgb& color, int tolerance) {
    int count = 0;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) count += near(frame.at(x, y), color, tolerance);
    return count;
}

std::unique_ptr<CaptionOverlay> testCaption(int W, int H, const std::string& text, int position,
                                            bool boxed) {
    return makeCaptionImage(W, H, text, boxed ? "#000000" : "#ffffff", "#ffffff",
                            captionFontPath("黑体"), 20, position, false);
}

EffectRun runEffectIndex(EffectSetup setup) {
    FrameEncoder saved =
        setFrameEncoder(setup.decode ? rawPixelEncoder : setup.ownEncoding ? nullptr : markerEncoder);
    RecordingSink sink(setup.refuseAt);
    EffectContext ctx;
    ctx.W = setup.W;
    ctx.H = setup.H;
    ctx.canvas = setup.canvas;
    ctx.caption = setup.caption;
    ctx.holdFrames = setup.holdFrames;
    sink.attach(ctx);
    ctx.previous = std::move(setup.previous);
    EffectRun run;
    run.result = runEffect(setup.index, ctx);
    run.framesWritten = ctx.framesWritten;
    run.sinkCalls = sink.calls();
    setFrameEncoder(saved);
    if (setup.decode)
        for (std::size_t i = 0; i < sink.blobs().size(); ++i) run.frames.push_back(sink.frame(i));
    return run;
}

EffectRun runEffectIndex(int index, int W, int H, MagickWand* canvas, WandPtr previous,
                         int holdFrames) {
    EffectSetup setup;
    setup.index = index;
    setup.W = W;
    setup.H = H;
    setup.holdFrames = holdFrames;
    setup.canvas = canvas;
    setup.previous = std::move(previous);
    return runEffectIndex(std::move(setup));
}

double redShare(const Frame& frame) {
    double red = 0;
    for (std::size_t i = 0; i < frame.rgb.size(); i += 3) red += frame.rgb[i];
    return frame.rgb.empty() ? 0 : red / (255.0 * (frame.rgb.size() / 3));
}

void expectRevealToRed(int index, int W, int H) {
    SCOPED_TRACE(::testing::Message() << "index " << index << " at " << W << "x" << H);
    const int hold = 2;
    EffectRun run = runBlueToRed(index, W, H, hold);
    ASSERT_NE(run.result, nullptr);
    ASSERT_GT(run.frames.size(), static_cast<std::size_t>(hold));
    std::size_t last = run.frames.size() - hold - 1;
    // Anti-aliased edges may waver by a hair between frames.
    for (std::size_t i = 1; i <= last; ++i)
        EXPECT_GE(redShare(run.frames[i]), redShare(run.frames[i - 1]) - 1e-4) << "frame " << i;
    Frame red = frameOf(solidCanvas(W, H, "#ff0000").get());
    EXPECT_EQ(run.frames[last], red) << "the last transition frame is the plain picture";
    for (std::size_t i = last + 1; i < run.frames.size(); ++i) EXPECT_EQ(run.frames[i], red);
    EXPECT_EQ(frameOf(run.result.get()), red);
}

int countEffectIndex(int index, int W, int H, int holdFrames, MagickWand* previous) {
    RecordingSink sink;
    EffectContext ctx;
    ctx.W = W;
    ctx.H = H;
    ctx.holdFrames = holdFrames;
    sink.attach(ctx);
    int frames = -12345;
    ctx.outFrames = &frames;
    ctx.previous.reset(previous);
    WandPtr result = runEffect(index, ctx);
    EXPECT_EQ(result, nullptr) << "index " << index;
    EXPECT_EQ(sink.calls(), 0) << "index " << index;
    EXPECT_EQ(ctx.previous.get(), previous) << "index " << index;
    ctx.previous.release();
    return frames;
}

EffectRun runBlueToRed(int index, int W, int H, int holdFrames) {
    WandPtr canvas = solidCanvas(W, H, "#ff0000");
    return runEffectIndex(index, W, H, canvas.get(), solidCanvas(W, H, "#0000ff"), holdFrames);
}

bool allOf(const Frame& frame, const Rgb& color) {
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            if (!(frame.at(x, y) == color)) return false;
    return true;
}

EffectRun runCoded(int index, int W, int H) {
    WandPtr canvas = positionCodedCanvas(W, H);
    return runEffectIndex(index, W, H, canvas.get(), negativeCodedCanvas(W, H));
}

void expectProbes(const EffectRun& run, const std::vector<Probe>& probes) {
    for (const Probe& probe : probes) {
        ASSERT_LT(static_cast<std::size_t>(probe.frame), run.frames.size());
        Rgb color = run.frames[probe.frame].at(probe.at.x, probe.at.y);
        Point source = probe.from == From::Picture ? positionOf(color) : negativePositionOf(color);
        EXPECT_EQ(source, probe.source)
            << "frame " << probe.frame << " at " << probe.at << " should show the "
            << (probe.from == From::Picture ? "picture's " : "previous frame's ") << probe.source
            << ", shows " << color;
    }
}

void expectColours(const EffectRun& run, const std::vector<ColourProbe>& probes) {
    for (const ColourProbe& probe : probes) {
        ASSERT_LT(static_cast<std::size_t>(probe.frame), run.frames.size());
        EXPECT_EQ(run.frames[probe.frame].at(probe.at.x, probe.at.y), probe.colour)
            << "frame " << probe.frame << " at " << probe.at << " " << probe.note;
    }
}

std::vector<int> range(int from, int to, int step) {
    std::vector<int> values;
    for (int v = from; step > 0 ? v <= to : v >= to; v += step) values.push_back(v);
    return values;
}

std::vector<int> then(std::vector<int> values, std::initializer_list<int> tail) {
    values.insert(values.end(), tail);
    return values;
}

const std::vector<std::vector<ShapePoint>>& ringsOf(const Shape& shape) {
    return std::get<PolygonPath>(shape.at(0)).rings;
}

void expectCountAtEverySize(const std::vector<int>& indices, int transitionFrames) {
    const int sizes[][2] = {{256, 256}, {800, 450}, {1080, 1440}, {3840, 256}, {256, 2160}};
    for (int index : indices)
        for (const auto& size : sizes)
            EXPECT_EQ(countEffectIndex(index, size[0], size[1], 7), transitionFrames + 7)
                << "index " << index << " at " << size[0] << "x" << size[1];
}

} // namespace harness

std::ostream& operator<<(std::ostream& out, const ShapePoint& point) {
    return out << "(" << point.x << ", " << point.y << ")";
}
