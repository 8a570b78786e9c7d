// The Over composite at integer offsets, as ImageMagick computes it, row by
// row without its per-pixel overheads; and new canvases that exist only to
// have a picture laid over them, written once instead of filled and covered.
// Pixels, opacity channel and image attributes come out exactly as the
// library's own calls leave them; what is not computed here goes to it.
#pragma once

#include <wand/MagickWand.h>

// MagickCompositeImage(target, source, OverCompositeOp, x, y), and its
// result: MagickFalse when the target's pixels could not be had, or a row
// could not be read or written (the rows before it are laid).
MagickBooleanType compositeImageOver(MagickWand* target, MagickWand* source, ssize_t x,
                                     ssize_t y);

// What compositePartOver did.
enum class PartOver {
    Declined,  // nothing drawn: only a cropped copy gives the result
    Laid,
    Failed,    // a row could not be read or written; the rows before it are laid
};

// The width x height part of source at (sx, sy), which lies inside source,
// laid Over target at (x, y) as a cropped copy of it (MagickCropImage on a
// clone) would be.
PartOver compositePartOver(MagickWand* target, MagickWand* source, ssize_t sx, ssize_t sy,
                           size_t width, size_t height, ssize_t x, ssize_t y);

// newCanvas(width, height, color) with image composited Over it at (x, y).
MagickWand* newCanvasWithImageOver(int width, int height, const char* color, MagickWand* image,
                                   ssize_t x, ssize_t y);
