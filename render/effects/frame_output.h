// Frame output shared by every effect: encoding, the sink, the hold frames
// with the caption fade-in, and the end of an effect.
#pragma once

#include <cstddef>

#include "render/effects/effect_context.h"

// Encodes a frame to bytes released with MagickRelinquishMemory. The
// default is getFrameJpegBlob; tests install a raw-pixel encoder so their
// probes are exact.
using FrameEncoder = unsigned char* (*)(MagickWand* frame, std::size_t* length, void* context);

// Installs an encoder (null restores JPEG) and returns the previous one.
FrameEncoder setFrameEncoder(FrameEncoder encoder);
// Encodes with the installed encoder.
unsigned char* encodeFrame(MagickWand* frame, std::size_t* length, void* context);

// The opaque context the effects pass to the encoder; returns it.
void* set_encoder_context(void* context);
void* encoderContext();

// A copy of frame with the caption composited at the caption's position,
// encoded; unless the caption has no box, the caption's opacity is first set
// to opacity + 0.2 (1.0 opaque). A transparent caption shows at full strength.
unsigned char* effect_encode_with_caption(MagickWand* frame, void* context, std::size_t* length,
                                          CaptionOverlay* caption, double opacity);

// Writes ctx.holdFrames hold frames of finalFrame, starting from blob (the
// final frame's own encoding, which it always releases). With a caption the
// first three fade it in at 0.35, 0.60 and 0.85 and the rest repeat the
// third. 1 when every write was accepted, 0 after a refusal.
int effect_write_hold_frames(EffectContext& ctx, unsigned char* blob, std::size_t length,
                             MagickWand* finalFrame);

// Destroys the wands held in a and b, once when they are the same, and sets
// both to null.
void effect_destroy_wand_pair(MagickWand** a, MagickWand** b);

// Sends encoded bytes to frameSink and counts the frame; false when refused.
bool sendFrame(EffectContext& ctx, const unsigned char* blob, std::size_t length);
// Encodes one transition frame (no caption) and sends it; false when refused.
bool writeFrame(EffectContext& ctx, MagickWand* frame);

// Ends an effect on its final frame: writes it once, then the hold frames.
// Returns the frame for the caller, or null after a refusal (the frame is
// then destroyed; ctx still releases previous).
WandPtr finishEffect(EffectContext& ctx, WandPtr finalFrame);
