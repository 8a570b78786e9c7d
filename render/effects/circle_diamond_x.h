// The circle, diamond and X shapes, one per shape frame (the final plain
// frame follows them), pure so tests can read them.
#pragma once

#include <vector>

#include "render/effects/effect_family.h"
#include "render/effects/shape.h"

// Whether the new picture opens out from the centre or closes in from the edges.
enum class Spread { CenterToEdges, EdgesToCenter };

// The circles (25, 26) and X shapes (58, 59): parameter s, the step in
// pixels. The diamonds (55, 56): no parameters.
WandPtr effect_circle(EffectContext& ctx, int spread, const EffectParams& params);
WandPtr effect_diamond(EffectContext& ctx, int spread, const EffectParams& params);
WandPtr effect_x(EffectContext& ctx, int spread, const EffectParams& params);

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
