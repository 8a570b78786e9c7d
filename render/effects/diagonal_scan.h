// Shapes of the diagonal and scan effects, pure so tests can read them.
#pragma once

#include <vector>

#include "render/effects/effect_family.h"
#include "render/effects/shape.h"

// The corner a diagonal effect grows from.
enum class DiagonalCorner { TopLeft, BottomLeft, TopRight, BottomRight };

enum class ScanMember { In, Out };

// The diagonals (51 to 54), one member per corner, and the scans (64, 65):
// no parameters.
WandPtr effect_diagonal(EffectContext& ctx, int corner, const EffectParams& params);
WandPtr effect_scan(EffectContext& ctx, int member, const EffectParams& params);

// The right-angled triangle of each frame k = 1 .. 19 (the plain picture is
// frame 20): right angle in the corner, legs of k tenths of the longer side.
std::vector<Shape> diagonalTriangles(DiagonalCorner corner, int W, int H);

// The two triangles of each frame k = 1 .. 19 as two sub-paths of one path,
// one on the left edge and one on the right: growing inwards (scan in) or
// shrinking outwards (scan out).
std::vector<Shape> scanTriangles(bool scanIn, int W, int H);
