// What every transition effect is given, and who owns what.
//
// An effect turns the previous picture's last frame into the current
// picture's canvas through a run of frames, writes each through the
// context's frame sink, holds the final frame for the pause and returns it
// (the next picture's previous). In count mode it draws nothing and only
// reports the number of frames it would write; in final-frame mode it draws
// and writes nothing and returns the frame it would end on.
#pragma once

#include "foundation/globals.h"
#include "render/caption_overlay.h"
#include "render/image.h"
#include "render/wand_ptr.h"

struct FrameLogo;
class StepHelpers;

// The frame written last, handed over again (a repeated hold frame); nonzero
// when accepted. A sink without one is given the same bytes again.
using FrameRepeatSink = int (*)(void* handle);

struct EffectContext {
    int W = 0;                          // output frame size
    int H = 0;
    MagickWand* canvas = nullptr;       // the picture fitted on W x H; read only; null when counting
    CaptionOverlay* caption = nullptr;  // null: no caption (always null when counting)
    int holdFrames = 0;                 // times the final frame is written for the pause

    // Where frames go: write(sink, bytes, length, &written, null), nonzero
    // when accepted. A null write refuses every frame.
    FrameSink write = nullptr;
    FrameRepeatSink repeat = nullptr;   // null: a repeated frame is written again
    void* sink = nullptr;               // handle passed to write and repeat
    const FrameLogo* logo = nullptr;    // laid over every frame written (the preview's logo)
    FramePixels pixels = FramePixels::Rgb24;  // the layout frames are written in

    StepHelpers* helpers = nullptr;     // may draw independent steps; null: this thread alone

    int* outFrames = nullptr;           // non-null selects count mode
    bool finalOnly = false;             // final-frame mode (see finalFrameOnly)

    // The previous picture's last frame, or null for the first picture. The
    // context owns it: whatever the effect does not take with takePrevious()
    // is destroyed with the context, on every path. Count mode never touches it.
    WandPtr previous;

    int framesWritten = 0;              // frames handed to the sink (render mode)
    bool refused = false;               // the sink refused a frame
    bool frameFailed = false;           // a frame could not be made (refused is set too)
};

inline bool isCountMode(const EffectContext& ctx) { return ctx.outFrames != nullptr; }

// Final-frame mode: the effect returns the frame a render would end on (the
// next picture's previous) without drawing its transition or writing
// anything, so the next picture can start before this one is drawn. Each
// family derives it from the same schedule its render walks.
inline bool finalFrameOnly(const EffectContext& ctx) { return ctx.finalOnly; }

// Count mode: stores transitionFrames + holdFrames (a store, never an
// addition) and returns the null result every counting effect gives.
WandPtr countFrames(EffectContext& ctx, int transitionFrames);

// The previous frame, replaced by a black W x H stand-in for the first
// picture. The stand-in lives in ctx.previous, so it is freed like any
// previous frame.
MagickWand* previousOrBlack(EffectContext& ctx);

// A context a step drawn on another thread draws in: the same frame size,
// canvas and output layout, a copy of the previous frame of its own (a
// step may change it) and no sink.
EffectContext stepContextOf(const EffectContext& ctx);

// Hands ctx.previous to the effect, for a family that draws its final
// frame on the previous frame itself and returns it.
WandPtr takePrevious(EffectContext& ctx);
