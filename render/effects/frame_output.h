// Frame output shared by every effect: encoding, the sink, the hold frames
// with the caption fade-in, the end of an effect, and the effect without
// animation.
#pragma once

#include <cstddef>

#include "render/effects/effect_context.h"

// Encodes a frame to bytes released with MagickRelinquishMemory. The
// default hands the encoder raw pixels: ctx.W x ctx.H of them in the
// layout ctx.pixels (getFramePixels); tests install an encoder of their
// own so their probes read what they need.
using FrameEncoder = unsigned char* (*)(MagickWand* frame, std::size_t* length, void* context);

// Installs an encoder (null restores the default) and returns the previous one.
FrameEncoder setFrameEncoder(FrameEncoder encoder);
// Encodes with the installed encoder, the context's logo laid over first.
unsigned char* encodeFrame(const EffectContext& ctx, MagickWand* frame, std::size_t* length,
                           void* context);

// The opaque context the effects pass to the encoder; returns it.
void* set_encoder_context(void* context);
void* encoderContext();

// A copy of frame with the caption composited at the caption's position,
// encoded; unless the caption has no box, the caption's opacity is first set
// to opacity + 0.2 (1.0 opaque). A transparent caption shows at full strength.
unsigned char* effect_encode_with_caption(const EffectContext& ctx, MagickWand* frame,
                                          void* context, std::size_t* length,
                                          CaptionOverlay* caption, double opacity);

// Writes ctx.holdFrames hold frames of finalFrame after blob (the final
// frame's own encoding, just written, which it always releases). Without a
// caption every hold frame repeats it; with one the first three fade it in
// at 0.35, 0.60 and 0.85 and the rest repeat the third. 1 when every write
// was accepted, 0 after a refusal.
int effect_write_hold_frames(EffectContext& ctx, unsigned char* blob, std::size_t length,
                             MagickWand* finalFrame);

// Destroys the wands held in a and b, once when they are the same, and sets
// both to null.
void effect_destroy_wand_pair(MagickWand** a, MagickWand** b);

// Sends encoded bytes to the sink and counts the frame; false when refused.
bool sendFrame(EffectContext& ctx, const unsigned char* blob, std::size_t length);
// Sends the frame last sent again (blob, length are its bytes, for a sink
// that takes no repeats); false when refused.
bool sendRepeat(EffectContext& ctx, const unsigned char* blob, std::size_t length);
// Encodes one transition frame (no caption) and sends it; false when refused.
bool writeFrame(EffectContext& ctx, MagickWand* frame);

// Ends an effect on its final frame: writes it once, then the hold frames.
// Returns the frame for the caller, or null after a refusal (the frame is
// then destroyed; ctx still releases previous).
WandPtr finishEffect(EffectContext& ctx, WandPtr finalFrame);

// No animation (index 99, 93, 94 and every index without an effect): the
// picture held for the pause, its caption at 0.85 from the first frame.
WandPtr effect_none(EffectContext& ctx);
