// The render's resize: ImageMagick's Lanczos filter (blur 1), computed here
// row by row with the weights worked out once per row and column, so that
// every pixel comes out exactly as ImageMagick's own resize makes it.
#pragma once

#include <cstddef>

#include <wand/MagickWand.h>

// Resizes the wand's current image to columns x rows, giving the image and
// pixels MagickResizeImage(wand, columns, rows, LanczosFilter, 1.0) gives.
// What it does not compute itself (palette or CMYK images, masks, filter
// options, progress monitors, processors without AVX2), and everything
// while ownPixelWork is off, goes to that call.
// MagickResizeImage's result.
MagickBooleanType lanczosResize(MagickWand* wand, std::size_t columns, std::size_t rows);
