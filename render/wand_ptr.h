// Owners for ImageMagick handles, so every early return frees what it made.
#pragma once

#include <memory>

#include <wand/MagickWand.h>

struct WandDeleter {
    void operator()(MagickWand* wand) const { DestroyMagickWand(wand); }
};
struct DrawingWandDeleter {
    void operator()(DrawingWand* wand) const { DestroyDrawingWand(wand); }
};
struct PixelWandDeleter {
    void operator()(PixelWand* wand) const { DestroyPixelWand(wand); }
};
// Memory handed out by ImageMagick (blobs, strings, metric arrays).
struct MagickMemoryDeleter {
    void operator()(void* memory) const { MagickRelinquishMemory(memory); }
};

using WandPtr = std::unique_ptr<MagickWand, WandDeleter>;
using DrawingWandPtr = std::unique_ptr<DrawingWand, DrawingWandDeleter>;
using PixelWandPtr = std::unique_ptr<PixelWand, PixelWandDeleter>;
using MagickBlobPtr = std::unique_ptr<unsigned char, MagickMemoryDeleter>;
using MagickTextPtr = std::unique_ptr<char, MagickMemoryDeleter>;

// A pixel wand set to an ImageMagick colour text ("#rrggbb", "none").
inline PixelWandPtr newPixelWand(const char* color) {
    PixelWandPtr pixel(NewPixelWand());
    PixelSetColor(pixel.get(), color);
    return pixel;
}

// Puts image in the wand's list in place of its current image, as the wand's
// own operations replace it, and destroys image: the wand's copy shares its
// pixels, so no pixel is copied.
inline MagickBooleanType replaceWandImage(MagickWand* wand, Image* image) {
    WandPtr holder(NewMagickWandFromImage(image));
    DestroyImage(image);
    return MagickSetImage(wand, holder.get());
}
