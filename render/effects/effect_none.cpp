#include "render/effects/effect_helpers.h"
#include "render/effects/frame_output.h"

WandPtr effect_none(EffectContext& ctx) {
    if (isCountMode(ctx)) return countFrames(ctx, 0);
    WandPtr frame = cloneCanvas(ctx);
    if (finalFrameOnly(ctx)) return frame;
    std::size_t length = 0;
    unsigned char* blob = encodeFrame(ctx, frame.get(), &length, encoderContext());
    for (int i = 0; i < ctx.holdFrames; ++i) {
        bool accepted;
        // No fade without an animation: the caption shows at 0.85 throughout.
        if (i == 0 && ctx.caption) {
            MagickRelinquishMemory(blob);
            blob = effect_encode_with_caption(ctx, frame.get(), encoderContext(), &length,
                                              ctx.caption, 0.65);
        }
        accepted = i == 0 ? sendFrame(ctx, blob, length) : sendRepeat(ctx, blob, length);
        if (!accepted) {
            if (blob) MagickRelinquishMemory(blob);
            return nullptr;
        }
    }
    if (blob) MagickRelinquishMemory(blob);
    return frame;
}
