// The ImageMagick whose arithmetic this folder repeats, operation for
// operation, so that its resizes, composites, distortions and shape masks
// give that library's pixels to the last bit:
//
//   ImageMagick 6.9.11-60, Q16, without HDRI, as Debian 12 ships it
//   (libmagickcore-6.q16-6 8:6.9.11.60+dfsg-1.6+deb12u16), whose files
//   - magick/resize.c      the Lanczos filter, its weights and the two passes
//                          (image_resize.cpp)
//   - magick/composite.c,  the Over blend (over_blend.h) and when a composite
//     magick/composite-private.h  is a plain copy (image_composite.cpp)
//   - magick/distort.c,    the perspective and scale-rotate-translate
//     magick/resample.c    distortions and their elliptical weighted average
//                          (image_distort.cpp)
//   - magick/draw.c        the polygon fill's edges, distances and coverage
//                          (shape_outline.cpp, shape_raster.cpp): Debian's
//                          security updates replaced this file with the one
//                          of 6.9.13-52, which measures a segment's distance
//                          without 6.9.11-60's MagickEpsilon
//
// Debian can change such a file in an update without changing the version,
// so the version alone proves nothing: a check at start (mirror_check.h)
// compares a few small cases with the library's own calls and hands all the
// work back to it when any differs. Another version (or quantum depth) is refused here, at build
// time: the prototypes below would not be known to match it.
#pragma once

#include <cmath>

#include <wand/MagickWand.h>

#if MagickLibVersion != 0x69B || MAGICKCORE_QUANTUM_DEPTH != 16 || MAGICKCORE_HDRI_ENABLE
#error "render/magick_mirror repeats ImageMagick 6.9.11 Q16 without HDRI; check its arithmetic against this ImageMagick before building"
#endif

// MagickCore exports its resize filters without installing their header; the
// distortion's weight table must hold the very weights its resampling uses.
extern "C" {
ResizeFilter* AcquireResizeFilter(const Image*, const FilterTypes, const MagickRealType,
                                  const MagickBooleanType, ExceptionInfo*);
ResizeFilter* DestroyResizeFilter(ResizeFilter*);
MagickRealType GetResizeFilterSupport(const ResizeFilter*);
MagickRealType GetResizeFilterWeight(const ResizeFilter*, const MagickRealType);
}

// MagickCore's DegreesToRadians (magick/image-private.h, not installed).
inline double degreesToRadians(double degrees) { return M_PI * degrees / 180.0; }
