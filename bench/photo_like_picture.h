// The photo-like test picture the benchmarks share: blurred fractal clouds,
// smooth and low in detail, cheap to encode, as product photographs are.
#pragma once

#include <string>

#include <wand/MagickWand.h>

#include "render/wand_ptr.h"

inline void writePhotoLikePicture(const std::string& path, int width, int height) {
    WandPtr wand(NewMagickWand());
    MagickSetSize(wand.get(), width, height);
    MagickReadImage(wand.get(), "plasma:fractal");
    MagickBlurImage(wand.get(), 0, 6);
    MagickSetImageCompressionQuality(wand.get(), 90);
    MagickWriteImage(wand.get(), path.c_str());
}
