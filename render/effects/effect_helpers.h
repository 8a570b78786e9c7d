// Drawing steps the effect families share. Composites use the Over operator
// at integer offsets; resizes use the Lanczos filter with blur 1.0.
#pragma once

#include <functional>
#include <vector>

#include "render/effects/effect_context.h"
#include "render/effects/shape.h"

// The frame's aspect ratio H / W, held in single precision.
float aspectRatio(const EffectContext& ctx);
// The same for a W x H frame, for geometry worked out without a context.
float aspectRatioOf(int W, int H);

// ceil(a / b) for a >= 0 and b >= 1.
int ceilDivide(int a, int b);
// step, 2 * step, ..., (count - 1) * step: the steps a run of count frames
// takes before its final one (none for a count below 2).
std::vector<int> stepMultiples(int count, int step);

WandPtr cloneWand(MagickWand* wand);
// A fresh clone of the current picture's canvas.
WandPtr cloneCanvas(const EffectContext& ctx);
// A new width x height image filled with color.
WandPtr newCanvasOf(int width, int height, const char* color);

// The part of source inside (x, y, width, height), clipped to the source,
// with its page offset reset; null when nothing of it lies inside.
WandPtr cropCopy(MagickWand* source, int x, int y, int width, int height);
// A copy of source resized to width x height; null unless both are at least 1.
WandPtr resizedCopy(MagickWand* source, int width, int height);
// Composites source Over target at (x, y); a null source draws nothing.
void compositeOver(MagickWand* target, MagickWand* source, int x, int y);
// A rectangle of a source picture (x, y, width, height) and the place
// (atX, atY) on a frame where it is laid.
struct Piece {
    int x = 0, y = 0, width = 0, height = 0;
    int atX = 0, atY = 0;
    bool operator==(const Piece&) const = default;
};
// Cuts piece out of source and composites it Over target at its place. Only
// the part inside the source is laid, each pixel where the piece puts it; a
// piece of zero or negative size draws nothing.
void compositePiece(MagickWand* target, MagickWand* source, const Piece& piece);
// Sets the opacity of every pixel (1.0 opaque, 0.0 invisible), replacing
// any earlier opacity rather than multiplying it.
void setOpacity(MagickWand* wand, double opacity);

// Shape fill: the shape that drawShape adds to the drawing (paths, circles,
// polygons, rectangles, pie slices; several sub-paths allowed) is filled on
// target with source's pixels at the same (x, y). No outline; the edge is
// anti-aliased as ImageMagick draws it, integer coordinates being pixel
// centres. source and target have the same size.
void fillShape(MagickWand* target, MagickWand* source,
               const std::function<void(DrawingWand*)>& drawShape);
// The same for a shape built from the pure builders of shape.h; an empty
// shape leaves target untouched.
void fillShape(MagickWand* target, MagickWand* source, const Shape& shape);
