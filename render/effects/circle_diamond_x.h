// The circle, diamond and X shapes, one per shape frame (the final plain
// frame follows them), pure so tests can read them.
#pragma once

#include <vector>

#include "render/effects/shape.h"

// Circles centred on the frame through (cx + w/2, cy + w * r / 2) for band
// widths w = step, 2 * step, ... below W (growing) or W - step, W - 2 * step,
// ... above 0 (closing): ceil(W / step) - 1 of them. No circles for a step
// below 1.
std::vector<Shape> circleShapes(int W, int H, int step, bool growing);

// Diamonds with the frame's proportions, half size d measured along the
// longer side, d = t .. (m - 1) * t growing or the reverse closing, where
// t = max(W, H) / 16 and m = ceil(max(W, H) / t).
std::vector<Shape> diamondShapes(int W, int H, bool growing);

// For arm offsets a = step .. (n - 1) * step, n = ceil((W/2) / step): the
// four wedges between the arms of an X opening from the centre (opening),
// or the four triangles closing in from the edges' middles (closing).
std::vector<Shape> xShapes(int W, int H, int step, bool opening);
