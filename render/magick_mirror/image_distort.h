// The flip's perspective distortion and the turn's rotation, as ImageMagick
// draws them, pixel for pixel, at a fraction of its cost.
#pragma once

#include <cstddef>

#include <wand/MagickWand.h>

// MagickDistortImage(wand, PerspectiveDistortion, count, points, MagickTrue):
// the image is replaced by its best-fit distortion, whose page offset says
// where it starts. MagickTrue when distorted.
MagickBooleanType distortPerspectiveBestFit(MagickWand* wand, const double* points,
                                            std::size_t count);

// MagickRotateImage(wand, background, degrees): the image is replaced by the
// turned one, as large as its bounding box, the corners in background.
MagickBooleanType rotateOnBackground(MagickWand* wand, const PixelWand* background,
                                     double degrees);
