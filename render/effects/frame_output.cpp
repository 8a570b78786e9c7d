#include "render/effects/frame_output.h"

#include <atomic>
#include <cstdint>

#include "render/image.h"
#include "render/magick_mirror/image_composite.h"

namespace {

std::atomic<FrameEncoder> installedEncoder{nullptr};
std::atomic<void*> currentEncoderContext{nullptr};

void releaseBlob(unsigned char*& blob) {
    if (blob) MagickRelinquishMemory(blob);
    blob = nullptr;
}

} // namespace

FrameEncoder setFrameEncoder(FrameEncoder encoder) { return installedEncoder.exchange(encoder); }

unsigned char* encodeFrame(const EffectContext& ctx, MagickWand* frame, std::size_t* length,
                           void* context) {
    FrameEncoder encoder = installedEncoder.load();
    if (!encoder) {
        // A context without a size (a caller outside a render run) takes the frame's own.
        int width = ctx.W > 0 ? ctx.W : static_cast<int>(MagickGetImageWidth(frame));
        int height = ctx.H > 0 ? ctx.H : static_cast<int>(MagickGetImageHeight(frame));
        return getFramePixels(frame, width, height, length, ctx.logo, ctx.pixels);
    }
    if (!ctx.logo || !ctx.logo->wand) return encoder(frame, length, context);
    WandPtr copy(CloneMagickWand(frame));
    layFrameLogo(copy.get(), *ctx.logo);
    return encoder(copy.get(), length, context);
}

void* set_encoder_context(void* context) {
    currentEncoderContext.store(context);
    return context;
}

void* encoderContext() { return currentEncoderContext.load(); }

unsigned char* effect_encode_with_caption(const EffectContext& ctx, MagickWand* frame,
                                          void* context, std::size_t* length,
                                          CaptionOverlay* caption, double opacity) {
    WandPtr copy(CloneMagickWand(frame));
    // A caption without a box has a transparent ground: a uniform opacity
    // would fill it, so it is laid on unchanged.
    if (!caption->transparent) MagickSetImageOpacity(caption->wand.get(), opacity + 0.2);
    compositeImageOver(copy.get(), caption->wand.get(), static_cast<ssize_t>(caption->x),
                       static_cast<ssize_t>(caption->y));
    return encodeFrame(ctx, copy.get(), length, context);
}

bool sendFrame(EffectContext& ctx, const unsigned char* blob, std::size_t length) {
    std::uint32_t written = 0;
    ++ctx.framesWritten;
    if (!blob) ctx.frameFailed = true;
    int accepted = ctx.write && blob
                       ? ctx.write(ctx.sink, blob, static_cast<std::uint32_t>(length), &written,
                                   nullptr)
                       : 0;
    if (!accepted) ctx.refused = true;
    return accepted != 0;
}

bool sendRepeat(EffectContext& ctx, const unsigned char* blob, std::size_t length) {
    if (!ctx.repeat) return sendFrame(ctx, blob, length);
    ++ctx.framesWritten;
    if (!blob) ctx.frameFailed = true;
    int accepted = blob ? ctx.repeat(ctx.sink) : 0;
    if (!accepted) ctx.refused = true;
    return accepted != 0;
}

bool writeFrame(EffectContext& ctx, MagickWand* frame) {
    std::size_t length = 0;
    unsigned char* blob = encodeFrame(ctx, frame, &length, encoderContext());
    bool accepted = sendFrame(ctx, blob, length);
    releaseBlob(blob);
    return accepted;
}

int effect_write_hold_frames(EffectContext& ctx, unsigned char* blob, std::size_t length,
                             MagickWand* finalFrame) {
    for (int i = 0; i < ctx.holdFrames; ++i) {
        bool accepted;
        if (ctx.caption && i <= 2) {
            releaseBlob(blob);
            blob = effect_encode_with_caption(ctx, finalFrame, nullptr, &length, ctx.caption,
                                              i * 0.25f + 0.15);
            accepted = sendFrame(ctx, blob, length);
        } else {
            accepted = sendRepeat(ctx, blob, length);
        }
        if (!accepted) {
            releaseBlob(blob);
            return 0;
        }
    }
    releaseBlob(blob);
    return 1;
}

void effect_destroy_wand_pair(MagickWand** a, MagickWand** b) {
    if (*a) DestroyMagickWand(*a);
    if (*b && *b != *a) DestroyMagickWand(*b);
    *a = nullptr;
    *b = nullptr;
}

WandPtr finishEffect(EffectContext& ctx, WandPtr finalFrame) {
    // A family that ends on the previous frame itself hands it over here.
    if (finalFrame.get() == ctx.previous.get()) ctx.previous.release();
    std::size_t length = 0;
    unsigned char* blob = encodeFrame(ctx, finalFrame.get(), &length, encoderContext());
    if (!sendFrame(ctx, blob, length)) {
        releaseBlob(blob);
        return nullptr;
    }
    if (!effect_write_hold_frames(ctx, blob, length, finalFrame.get())) return nullptr;
    return finalFrame;
}
