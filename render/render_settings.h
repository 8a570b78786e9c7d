// What a render run (a video's generation or a preview) reads, copied once
// when the run starts, on the user-interface thread: the frame size, the
// background, the pause, the caption margins and font size, the preview
// logo and the pictures with their effects and captions. The run's workers
// read only this copy, so nothing the user changes during a run reaches it.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "foundation/globals.h"
#include "render/effects/effect_context.h"
#include "render/image.h"
#include "render/picture_record.h"

// One picture as the run renders it.
struct PictureToRender {
    std::string path;
    int effectIndex = 99;
    CaptionRecord caption;
    std::string fontPath;  // the caption's font file, looked up when taken
};

// What a run's frames and pictures may take in memory by default. The
// frames' share holds a few pictures' transitions ahead (about 110 YUV
// frames at 1080 x 1440), enough to keep the workers rendering; the
// pictures' share lets ten pictures be in flight at 1080 x 1440 (the
// sixteen of eight workers at 800 x 800). Together they leave a 1080 x 1440
// generation on eight workers near 800 MB with the images being drawn.
constexpr std::size_t kFrameBudgetBytes = std::size_t{256} << 20;
constexpr std::size_t kPictureBudgetBytes = std::size_t{768} << 20;

struct RenderSettings {
    int width = 0;
    int height = 0;
    int backgroundFill = 0;  // 0 white, 1 black (videoBgFillColor)
    int pauseFrames = 0;
    CaptionMargins captionMargins = {};
    int captionFontSize = 0;  // the font-size combo's selection
    int outputMode = 0;       // 1 generating a video, 2 previewing (frameOutputMode)
    // The preview's logo (a copy of previewLogoWand, previewing only), laid
    // over every frame at its place; logo.wand is null without one.
    std::shared_ptr<MagickWand> logoCopy;
    FrameLogo logo;
    std::vector<PictureToRender> pictures;
    // The layout of the frames written: RGB for the preview, the encoder's
    // own YUV for a video, converted on the render workers.
    FramePixels framePixels = FramePixels::Rgb24;
    // Frames buffered ahead of the picture being delivered share the first
    // budget; the images of the pictures in flight the second. A preview,
    // whose frames wait in a queue of their own, gives smaller ones.
    std::size_t frameBudgetBytes = kFrameBudgetBytes;
    std::size_t pictureBudgetBytes = kPictureBudgetBytes;

    // "#ffffff" or "#000000".
    const char* backgroundColor() const { return backgroundFill == 1 ? "#000000" : "#ffffff"; }
};

// Where a run's frames go: write(handle, bytes, ...) for each frame, and
// repeat(handle) for a frame written again unchanged (null: its bytes are
// written again).
struct FrameDestination {
    FrameSink write = nullptr;
    FrameRepeatSink repeat = nullptr;
    void* handle = nullptr;
    StepHelpers* helpers = nullptr;  // threads that may draw an effect's steps
};

// The settings as they stand, with every picture of pictureList. Call it on
// the user-interface thread (it reads the globals and the font-size combo).
RenderSettings takeRenderSettings();
// The same without the pictures.
RenderSettings takeFrameSettings();
// A picture record as a run renders it (its caption font looked up).
PictureToRender pictureToRender(const PictureRecord& picture);
