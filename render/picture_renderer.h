// Turns one picture of the list into frames: its canvas and caption, then
// its transition effect through the dispatch table.
#pragma once

#include <memory>
#include <string>

#include <wand/MagickWand.h>

#include "render/caption_overlay.h"
#include "render/picture_record.h"
#include "render/render_settings.h"

// Renders picture after previous (its predecessor's final frame, or null for
// the first picture; ownership passes to the effect) and returns this
// picture's final frame, the caller's. With outFrames set it only counts:
// nothing is read or drawn, previous stays the caller's, and the result is
// null. Null also after a refused frame write. Reads the settings as they
// stand and writes through frameSink with encoderInput; call it on the
// user-interface thread (render runs use the calls below).
MagickWand* renderPicture(const PictureRecord* picture, MagickWand* previous, int* outFrames);

// What a picture's effect draws from, made once per picture.
struct PreparedPicture {
    WandPtr canvas;                            // the picture fitted on the frame
    std::unique_ptr<CaptionOverlay> caption;   // null without a caption
    // The text of the read error's box when the file could no longer be
    // read; the canvas is then the plain background, so the picture still
    // takes the frames that counting gave it.
    std::string readFailure;
};

// Reads and fits the picture and makes its caption overlay; shows nothing.
PreparedPicture preparePicture(const RenderSettings& settings, const PictureToRender& picture);

// Runs the picture's effect from previous (null for the first picture),
// writing its frames to destination; the final frame, or null after a
// refused write. frameFailed, when given, tells whether the effect ended
// because a frame could not be made.
WandPtr renderPreparedPicture(const RenderSettings& settings, const PictureToRender& picture,
                              PreparedPicture& prepared, WandPtr previous,
                              const FrameDestination& destination, bool* frameFailed = nullptr);

// The frame renderPreparedPicture would end on, without drawing or writing
// the transition: the next picture's previous.
WandPtr finalFrameOfPicture(const RenderSettings& settings, const PictureToRender& picture,
                            PreparedPicture& prepared, WandPtr previous);

// The display name of an effect index, "无动画" for an index without one.
const char* getEffectName(int index);
// Fills effectNameMap with the 97 effect names (made on first call).
void buildEffectNameMap();
