// The coverage mask of a shape, pixel for pixel as ImageMagick draws it on a
// transparent mask with a white fill, no stroke (width 1) and the drawing
// translated by the mask's corner, at a fraction of its cost: pixels away
// from the outline take the even-odd answer a whole span at a time, and only
// pixels within reach of an edge get ImageMagick's per-pixel distance sums.
#pragma once

#include <optional>
#include <vector>

#include <wand/MagickWand.h>

#include "platform/run_memory.h"
#include "render/effects/shape.h"

// A frame-sized mask is drawn for every frame of a shape effect: in run memory.
using ShapeMask = std::vector<Quantum, RunAllocator<Quantum>>;

// The mask's opacity, row after row, of the width x height box whose corner
// is at (x, y) in the shape's coordinates; nothing for a shape outside the
// range reproduced (the caller then asks ImageMagick).
std::optional<ShapeMask> shapeMaskOpacity(const Shape& shape, int x, int y, int width, int height);
