#include "render/thumbnail.h"

#include <algorithm>
#include <cstring>

#include "render/image.h"
#include "render/wand_ptr.h"

namespace {

// The picture's size after it is shrunk into bw x bh (integer arithmetic:
// the result matches the list view's thumbnails pixel for pixel).
void shrinkInto(MagickWand* picture, int bw, int bh) {
    int w = static_cast<int>(MagickGetImageWidth(picture));
    int h = static_cast<int>(MagickGetImageHeight(picture));
    if (w <= bw && h <= bh) return;
    if (w / h >= 1) MagickThumbnailImage(picture, bw, std::max(1, h * bw / w));
    else MagickThumbnailImage(picture, std::max(1, w * bh / h), bh);
}

// Reads the picture for a thumbnail of the box; null when it cannot be read.
// A JPEG is decoded at the smallest eighth-step scale that still covers
// twice the box: a camera photo then costs a fraction of a full decode, and
// the shrink still has enough pixels for a sharp thumbnail. ImageMagick
// refuses that hint for extreme panoramas (10000 x 200: "width or height
// exceeds limit"), so a picture the hinted read fails is read again whole.
WandPtr readForThumbnail(const std::string& path, int boxWidth, int boxHeight) {
    WandPtr picture(NewMagickWand());
    const std::string hint = std::to_string(2 * boxWidth) + "x" + std::to_string(2 * boxHeight);
    MagickSetOption(picture.get(), "jpeg:size", hint.c_str());
    if (readImageGbkPath(picture.get(), path) == 1) return picture;
    picture.reset(NewMagickWand());
    if (readImageGbkPath(picture.get(), path) == 1) return picture;
    return nullptr;
}

} // namespace

int makeThumbnailIcon(const std::string& path, int boxWidth, int boxHeight, ThumbnailIcon* icon) {
    WandPtr picture = readForThumbnail(path, boxWidth, boxHeight);
    if (!picture) return 0;
    if (isStillImage(picture.get()) == 0) return -1;

    MagickTextPtr format(MagickGetImageFormat(picture.get()));
    const char* name = format ? format.get() : "";
    if (std::strcmp(name, "PSD") == 0) MagickResetIterator(picture.get());
    // 32-bit BMPs often carry an unused alpha byte; other formats keep
    // theirs, and their transparent areas show the white below.
    if (MagickGetImageAlphaChannel(picture.get()) == MagickTrue && std::strcmp(name, "BMP") == 0)
        MagickSetImageAlphaChannel(picture.get(), DeactivateAlphaChannel);
    cmykToSrgb(picture.get());

    shrinkInto(picture.get(), boxWidth - 2, boxHeight - 2);
    int w = static_cast<int>(MagickGetImageWidth(picture.get()));
    int h = static_cast<int>(MagickGetImageHeight(picture.get()));

    WandPtr canvas(newCanvas(thumbnailWidth - 2, thumbnailHeight - 2, "#FFFFFF"));
    MagickCompositeImage(canvas.get(), picture.get(), OverCompositeOp,
                         (thumbnailWidth - 2 - w) / 2, (thumbnailHeight - 2 - h) / 2);
    PixelWandPtr border = newPixelWand("#d4d0c8");
    MagickBorderImage(canvas.get(), border.get(), 1, 1);

    int width = static_cast<int>(MagickGetImageWidth(canvas.get()));
    int height = static_cast<int>(MagickGetImageHeight(canvas.get()));
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
    if (MagickExportImagePixels(canvas.get(), 0, 0, width, height, "RGBA", CharPixel,
                                rgba.data()) != MagickTrue)
        return 0;
    icon->width = width;
    icon->height = height;
    icon->rgba = std::move(rgba);
    return 1;
}
