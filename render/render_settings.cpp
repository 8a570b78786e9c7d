#include "render/render_settings.h"

#include <cstdlib>

#include "foundation/linked_list.h"
#include "platform/command_ids.h"
#include "platform/window_controls.h"
#include "render/font_map.h"

namespace {

// The font-size combo's selected text, as a number of points.
int selectedFontSize() {
    std::string text = comboGetItemText(IDC_FONT_SIZE, comboGetCurSel(IDC_FONT_SIZE));
    return std::atoi(text.substr(0, 7).c_str());
}

bool hasCaption(const CaptionRecord& caption) { return caption.mode != 0 && !caption.text.empty(); }

} // namespace

RenderSettings takeFrameSettings() {
    RenderSettings settings;
    settings.width = videoWidth;
    settings.height = videoHeight;
    settings.backgroundFill = videoBgFillColor;
    settings.pauseFrames = pauseFrames;
    settings.captionMargins = captionMargins;
    settings.captionFontSize = selectedFontSize();
    settings.outputMode = frameOutputMode;
    if (frameOutputMode == 2 && previewLogoWand) {
        settings.logoCopy.reset(CloneMagickWand(previewLogoWand), DestroyMagickWand);
        settings.logo = {settings.logoCopy.get(), previewLogoX, previewLogoY};
    }
    return settings;
}

PictureToRender pictureToRender(const PictureRecord& picture) {
    PictureToRender copy;
    copy.path = picture.path;
    copy.effectIndex = picture.effectIndex;
    copy.caption = *picture.caption;
    if (hasCaption(copy.caption)) copy.fontPath = captionFontPath(copy.caption.fontName);
    return copy;
}

RenderSettings takeRenderSettings() {
    RenderSettings settings = takeFrameSettings();
    const int count = pictureList ? linkedlist_size(pictureList) : 0;
    settings.pictures.reserve(count);
    for (int i = 0; i < count; ++i)
        settings.pictures.push_back(
            pictureToRender(*static_cast<const PictureRecord*>(linkedlist_get(pictureList, i))));
    return settings;
}
