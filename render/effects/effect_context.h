// What every transition effect is given, and who owns what.
//
// An effect turns the previous picture's last frame into the current
// picture's canvas through a run of frames, writes each through frameSink,
// holds the final frame for the pause and returns it (the next picture's
// previous). In count mode it draws nothing and only reports the number of
// frames it would write.
#pragma once

#include "render/caption_overlay.h"
#include "render/wand_ptr.h"

struct EffectContext {
    int W = 0;                          // output frame size
    int H = 0;
    MagickWand* canvas = nullptr;       // the picture fitted on W x H; read only; null when counting
    CaptionOverlay* caption = nullptr;  // null: no caption (always null when counting)
    int holdFrames = 0;                 // times the final frame is written for the pause
    void* sink = nullptr;               // handle passed to frameSink
    int* outFrames = nullptr;           // non-null selects count mode

    // The previous picture's last frame, or null for the first picture. The
    // context owns it: whatever the effect does not take with takePrevious()
    // is destroyed with the context, on every path. Count mode never touches it.
    WandPtr previous;

    int framesWritten = 0;              // frames handed to the sink (render mode)
    bool refused = false;               // the sink refused a frame
};

inline bool isCountMode(const EffectContext& ctx) { return ctx.outFrames != nullptr; }

// Count mode: stores transitionFrames + holdFrames (a store, never an
// addition) and returns the null result every counting effect gives.
WandPtr countFrames(EffectContext& ctx, int transitionFrames);

// The previous frame, replaced by a black W x H stand-in for the first
// picture. The stand-in lives in ctx.previous, so it is freed like any
// previous frame.
MagickWand* previousOrBlack(EffectContext& ctx);

// Hands ctx.previous to the effect, for a family that draws its final
// frame on the previous frame itself and returns it.
WandPtr takePrevious(EffectContext& ctx);
