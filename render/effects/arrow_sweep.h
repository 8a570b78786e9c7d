// Shapes of the arrow and sweep effects, pure so tests can read them.
#pragma once

#include <vector>

#include "render/effects/effect_family.h"
#include "render/effects/shape.h"

enum class ArrowDirection { LeftToRight, RightToLeft, TopToBottom, BottomToTop };
// The edge a sweep starts from.
enum class SweepEdge { Bottom, Top, Left, Right };

// The arrows (73 to 76) and sweeps (77 to 80): no parameters.
WandPtr effect_arrow(EffectContext& ctx, int direction, const EffectParams& params);
WandPtr effect_sweep(EffectContext& ctx, int edge, const EffectParams& params);

// The triangle of each frame k = 1 .. 19 (the plain picture is frame 20):
// its base on the starting edge, its tip k tenths of the extent across, its
// proportions those of the frame.
std::vector<Shape> arrowTriangles(ArrowDirection direction, int W, int H);

// The polygon of each frame k = 1 .. 19: a triangle whose apex crosses the
// frame by frame 10, then a quadrilateral whose far side widens towards
// both far corners.
std::vector<Shape> sweepPolygons(SweepEdge edge, int W, int H);
