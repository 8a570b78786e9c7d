#include "render/picture_renderer.h"

#include <cstdint>
#include <cstdlib>

#include "foundation/globals.h"
#include "foundation/hash_map.h"
#include "foundation/heap_alloc.h"
#include "platform/message_box.h"
#include "render/color_to_hex.h"
#include "render/effects/effect_table.h"
#include "render/image.h"

namespace {

std::unique_ptr<CaptionOverlay> pictureCaption(const RenderSettings& settings,
                                               const PictureToRender& picture) {
    const CaptionRecord& caption = picture.caption;
    if (caption.mode == 0 || caption.text.empty()) return nullptr;
    return makeCaptionImage(settings.width, settings.height, caption.text,
                            colorToHex(caption.boxColor), colorToHex(caption.textColor),
                            picture.fontPath, settings.captionFontSize, caption.position,
                            caption.mode == 2, settings.captionMargins);
}

EffectContext pictureContext(const RenderSettings& settings, PreparedPicture& prepared,
                             WandPtr previous) {
    EffectContext ctx;
    ctx.W = settings.width;
    ctx.H = settings.height;
    ctx.holdFrames = settings.pauseFrames;
    ctx.canvas = prepared.canvas.get();
    ctx.caption = prepared.caption.get();
    ctx.logo = settings.logo.wand ? &settings.logo : nullptr;
    ctx.pixels = settings.framePixels;
    ctx.previous = std::move(previous);
    return ctx;
}

} // namespace

PreparedPicture preparePicture(const RenderSettings& settings, const PictureToRender& picture) {
    PreparedPicture prepared;
    const char* background = settings.backgroundColor();
    WandPtr read(readPictureQuietly(picture.path, background, &prepared.readFailure));
    prepared.canvas.reset(
        read ? fitOnBackground(settings.width, settings.height, read.get(), background)
             : newCanvas(settings.width, settings.height, background));
    prepared.caption = pictureCaption(settings, picture);
    return prepared;
}

WandPtr renderPreparedPicture(const RenderSettings& settings, const PictureToRender& picture,
                              PreparedPicture& prepared, WandPtr previous,
                              const FrameDestination& destination, bool* frameFailed) {
    EffectContext ctx = pictureContext(settings, prepared, std::move(previous));
    ctx.write = destination.write;
    ctx.repeat = destination.repeat;
    ctx.sink = destination.handle;
    ctx.helpers = destination.helpers;
    WandPtr last = runEffect(picture.effectIndex, ctx);
    if (frameFailed) *frameFailed = ctx.frameFailed;
    return last;
}

WandPtr finalFrameOfPicture(const RenderSettings& settings, const PictureToRender& picture,
                            PreparedPicture& prepared, WandPtr previous) {
    EffectContext ctx = pictureContext(settings, prepared, std::move(previous));
    ctx.finalOnly = true;
    return runEffect(picture.effectIndex, ctx);
}

MagickWand* renderPicture(const PictureRecord* picture, MagickWand* previous, int* outFrames) {
    if (outFrames) {
        EffectContext ctx;
        ctx.W = videoWidth;
        ctx.H = videoHeight;
        ctx.holdFrames = pauseFrames;
        ctx.outFrames = outFrames;
        return runEffect(picture->effectIndex, ctx).release();
    }
    RenderSettings settings = takeFrameSettings();
    PictureToRender toRender = pictureToRender(*picture);
    PreparedPicture prepared = preparePicture(settings, toRender);
    if (!prepared.readFailure.empty())
        messageBox(hwndMain, prepared.readFailure, "错误", MB_ICONERROR);
    return renderPreparedPicture(settings, toRender, prepared, WandPtr(previous),
                                 {frameSink, nullptr, encoderInput})
        .release();
}

void buildEffectNameMap() {
    if (!effectNameMap) effectNameMap = hashmap_new_default(hash_int, equals_int_value);
    for (int index = 0; index < kEffectTableSize; ++index) {
        const char* name = effectTable[index].name;
        if (!name) continue;
        void* key = reinterpret_cast<void*>(static_cast<std::intptr_t>(index));
        std::free(hashmap_put(effectNameMap, key, heapCopy(name)));
    }
}

const char* getEffectName(int index) {
    // Start-up builds the map; this covers callers that run without it.
    if (!effectNameMap) buildEffectNameMap();
    void* key = reinterpret_cast<void*>(static_cast<std::intptr_t>(index));
    auto* name = static_cast<const char*>(hashmap_get(effectNameMap, key));
    return name ? name : kNoAnimationName;
}
