#include "render/picture_renderer.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "foundation/globals.h"
#include "foundation/hash_map.h"
#include "foundation/heap_alloc.h"
#include "platform/command_ids.h"
#include "platform/ui_thread.h"
#include "platform/window_controls.h"
#include "render/caption_overlay.h"
#include "render/color_to_hex.h"
#include "render/effects/effect_table.h"
#include "render/font_map.h"
#include "render/image.h"

namespace {

const char* backgroundColor() { return videoBgFillColor == 1 ? "#000000" : "#ffffff"; }

// The picture on the background. A file that can no longer be read (its
// error box has been shown) renders as the plain background, so the picture
// still takes the frames that counting gave it.
WandPtr pictureCanvas(const PictureRecord& picture) {
    WandPtr read(readPicture(picture.path, backgroundColor()));
    if (!read) return WandPtr(newCanvas(videoWidth, videoHeight, backgroundColor()));
    return WandPtr(fitOnBackground(videoWidth, videoHeight, read.get(), backgroundColor()));
}

// The font-size combo's selected text, read when the caption is drawn, so
// every caption of a video takes the size selected at that moment.
int selectedFontSize() {
    std::string text;
    runOnUiThread(
        [&text] { text = comboGetItemText(IDC_FONT_SIZE, comboGetCurSel(IDC_FONT_SIZE)); });
    return std::atoi(text.substr(0, 7).c_str());
}

std::unique_ptr<CaptionOverlay> pictureCaption(const CaptionRecord& caption) {
    if (caption.mode == 0 || caption.text.empty()) return nullptr;
    int fontSize = selectedFontSize();
    return makeCaptionImage(videoWidth, videoHeight, caption.text, colorToHex(caption.boxColor),
                            colorToHex(caption.textColor), captionFontPath(caption.fontName),
                            fontSize, caption.position, caption.mode == 2);
}

} // namespace

MagickWand* renderPicture(const PictureRecord* picture, MagickWand* previous, int* outFrames) {
    EffectContext ctx;
    ctx.W = videoWidth;
    ctx.H = videoHeight;
    ctx.holdFrames = pauseFrames;
    ctx.sink = encoderInput;
    ctx.outFrames = outFrames;
    if (outFrames) return runEffect(picture->effectIndex, ctx).release();

    ctx.previous.reset(previous);
    WandPtr canvas = pictureCanvas(*picture);
    std::unique_ptr<CaptionOverlay> caption = pictureCaption(*picture->caption);
    ctx.canvas = canvas.get();
    ctx.caption = caption.get();
    return runEffect(picture->effectIndex, ctx).release();
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
