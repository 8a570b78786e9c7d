// Test harness for the renderer and the effects: a recording frame sink, a
// raw-pixel encoder so probes read exact colours, synthetic pictures and
// pixel probes. Linking it also starts and stops ImageMagick around the tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "foundation/globals.h"
#include "foundation/temp_folder.h"
#include "render/caption_overlay.h"
#include "render/effects/effect_context.h"
#include "render/effects/frame_output.h"
#include "render/effects/shape.h"
#include "render/magick_mirror/pixel_work_fault.h"
#include "render/wand_ptr.h"

namespace harness {

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Rgb& color);

// 8-bit colour of "#rrggbb".
Rgb rgbOf(const char* color);
// The colours the effect tests paint their pictures with.
inline const Rgb kRed{255, 0, 0}, kBlue{0, 0, 255}, kBlack{0, 0, 0};
// Every channel within tolerance of the other's.
bool near(const Rgb& a, const Rgb& b, int tolerance = 2);

// A decoded frame (8-bit RGB).
struct Frame {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
    Rgb at(int x, int y) const;
    bool operator==(const Frame&) const = default;
};

// Installed as frameSink while it lives: records every frame written with
// its handle set to this recorder, and refuses the frame numbered refuseAt
// (0-based) and every one after it (-1: accept all).
class RecordingSink {
public:
    explicit RecordingSink(int refuseAt = -1);
    ~RecordingSink();
    RecordingSink(const RecordingSink&) = delete;
    RecordingSink& operator=(const RecordingSink&) = delete;

    void* handle() { return this; }
    // Points the context's frame output at this recorder.
    void attach(EffectContext& ctx) {
        ctx.write = record;
        ctx.sink = this;
    }
    int calls() const { return calls_; }
    const std::vector<std::string>& blobs() const { return blobs_; }
    // Decodes frame i; requires the raw encoder (RawFrames) while it was written.
    Frame frame(std::size_t i) const;

private:
    static int record(void* handle, const void* bytes, std::uint32_t length,
                      std::uint32_t* written, void* overlapped);
    int refuseAt_;
    int calls_ = 0;
    std::vector<std::string> blobs_;
    FrameSink saved_;
};

// While it lives, frames are encoded as 8-bit PPM, which carries its size, so that
// RecordingSink::frame decodes exact pixels.
class RawFrames {
public:
    RawFrames();
    ~RawFrames();
    RawFrames(const RawFrames&) = delete;
    RawFrames& operator=(const RawFrames&) = delete;

private:
    FrameEncoder saved_;
};

// Pictures and canvases.
WandPtr solidCanvas(int width, int height, const char* color);
// Pixel (x, y) is (x mod 256, y mod 256, 16 * (x / 256) + y / 256), so a
// probe tells where a pixel came from (see positionOf).
WandPtr positionCodedCanvas(int width, int height);
struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Point& point);
Point positionOf(const Rgb& color);
// The negative of positionCodedCanvas, for the other of two pictures: a
// probe then tells which picture a pixel came from, and where (frames below
// 2048 pixels each way keep the two codes apart).
WandPtr negativeCodedCanvas(int width, int height);
Point negativePositionOf(const Rgb& color);
// Writes a wand to path (format from the extension).
void writePicture(MagickWand* wand, const std::string& path);
Rgb pixelOf(MagickWand* wand, int x, int y);
Frame frameOf(MagickWand* wand);
// How many pixels of frame lie within tolerance of color.
int pixelsNear(const Frame& frame, const Rgb& color, int tolerance = 2);

// A boxed caption (white text on black) on a W x H frame, drawn with an
// installed CJK font.
std::unique_ptr<CaptionOverlay> testCaption(int W, int H, const std::string& text = "测试Ab",
                                            int position = 4, bool boxed = true);

// One effect run through the dispatch table.
struct EffectRun {
    WandPtr result;          // the final frame, or null
    int framesWritten = 0;   // as the context counted them
    int sinkCalls = 0;       // as the sink saw them
    std::vector<Frame> frames;  // decoded, when raw
};

struct EffectSetup {
    int index = 99;
    int W = 256, H = 256;
    int holdFrames = 0;
    MagickWand* canvas = nullptr;       // the caller's
    CaptionOverlay* caption = nullptr;  // the caller's
    WandPtr previous;                   // handed to the effect
    int refuseAt = -1;
    bool decode = true;                 // decode frames (raw encoder); false: count only
    bool ownEncoding = false;           // with decode false: the program's own frame encoding
};

EffectRun runEffectIndex(EffectSetup setup);
// The same with the usual setup: decoded frames, no caption, no hold frames
// unless asked.
EffectRun runEffectIndex(int index, int W, int H, MagickWand* canvas, WandPtr previous,
                         int holdFrames = 0);

// The red channel summed over a frame, as a share of all red (0..1).
double redShare(const Frame& frame);
// Runs index from a solid blue previous frame to a solid red picture with
// two hold frames and checks the reveal: the share of red never falls, the
// last transition frame is all red, the hold frames repeat it and it is the
// frame returned.
void expectRevealToRed(int index, int W, int H);
// Count mode through the dispatch table; previous (may be null) stays the caller's.
int countEffectIndex(int index, int W, int H, int holdFrames, MagickWand* previous = nullptr);

// An effect run from a solid blue previous frame to a solid red picture,
// every frame decoded (what expectRevealToRed checks).
EffectRun runBlueToRed(int index, int W, int H, int holdFrames);
// Every pixel of the frame is color.
bool allOf(const Frame& frame, const Rgb& color);

// Position probes: an effect run from negativeCodedCanvas (the previous
// frame) to positionCodedCanvas (the new picture), every frame decoded.
EffectRun runCoded(int index, int W, int H);
enum class From { Picture, Previous };
// Frame `frame` (0-based) shows, at `at`, the pixel `source` of one picture.
struct Probe {
    int frame;
    Point at;
    From from;
    Point source;
};
void expectProbes(const EffectRun& run, const std::vector<Probe>& probes);
// Frame `frame` (0-based) shows `colour` at `at`; note says why, if needed.
struct ColourProbe {
    int frame;
    Point at;
    Rgb colour;
    const char* note = "";
};
void expectColours(const EffectRun& run, const std::vector<ColourProbe>& probes);

// from, from + step, ... up to and including to (step may be negative).
std::vector<int> range(int from, int to, int step);
// values with tail appended.
std::vector<int> then(std::vector<int> values, std::initializer_list<int> tail);

// The rings of a shape made of one polygon path.
const std::vector<std::vector<ShapePoint>>& ringsOf(const Shape& shape);

// Count mode reports transitionFrames + hold for each index at frame sizes
// from very wide to very tall.
void expectCountAtEverySize(const std::vector<int>& indices, int transitionFrames);

// While it lives, the step of the render's own pixel work after `steps`
// more fails (render/magick_mirror/pixel_work_fault.h).
class FailingPixelWorkStep {
public:
    explicit FailingPixelWorkStep(long steps) { failPixelWorkStep(steps); }
    ~FailingPixelWorkStep() { failPixelWorkStep(-1); }
    FailingPixelWorkStep(const FailingPixelWorkStep&) = delete;
    FailingPixelWorkStep& operator=(const FailingPixelWorkStep&) = delete;
};

} // namespace harness

// Polygon vertices in test messages (here, beside ShapePoint's own namespace).
std::ostream& operator<<(std::ostream& out, const ShapePoint& point);
