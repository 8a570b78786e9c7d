// Schedules and geometry of the wipe-in and four-corner effects, pure so
// tests can read them. r is the frame's aspect ratio H / W in single
// precision; products with it are formed in extended precision.
#pragma once

#include <array>
#include <vector>

#include "render/effects/effect_family.h"
#include "render/effects/effect_helpers.h"
#include "render/effects/shape.h"

enum class WipeInMember {
    EdgesToCenterSquare,       // 2: a centred region of the frame's proportions
    SidesToMiddleHorizontal,   // 3: a full-height band
    SidesToMiddleVertical,     // 4: a full-width band
};
enum class CornersMember {
    CornersToCenter,  // 37: the picture grows in from the corners
    CenterToCorners,  // 38: the previous frame shrinks into them
};

// The wipe-ins: parameter s, the step in pixels.
WandPtr effect_wipe_in(EffectContext& ctx, int member, const EffectParams& params);
// The four-corner effects: parameter s, the step in pixels.
WandPtr effect_corners(EffectContext& ctx, int member, const EffectParams& params);

// Square wipe-in widths: W - s, W - 2s, ... while above 0, then 0 (the plain
// picture): ceil(W / s) transition frames. A step below 1 counts as 1.
std::vector<int> squareWipeWidths(int W, int step);
// The previous frame's centred region of width w and the frame's
// proportions, laid where it was cut; empty when it rounds to nothing.
Piece squareWipeRegion(int W, int H, float r, int w);

// Band wipe-in widths over the extent E (W or H): E - s, E - 2s, ... while
// above 0, then a one-pixel band unless the last band already was one, then
// 0 (the plain picture). A step below 1 counts as 1.
std::vector<int> bandWipeWidths(int extent, int step);
// The previous frame's centred band of width w: columns across the full
// height, or rows across the full width for the vertical member.
Piece bandWipeRegion(bool vertical, int W, int H, int w);

// Corners-to-centre corner sizes a = k * s, k = 1 .. n - 1 with
// n = (W / s) / 2 + (1 when W mod 2s is not 0); the plain picture follows.
std::vector<int> cornersToCenterSizes(int W, int step);
// Centre-to-corners corner sizes a = k * s, k = m .. 0 with
// m = (W / s) / 2 - (1 when W mod 2s is 0); a = 0 is the plain picture.
std::vector<int> centerToCornersSizes(int W, int step);
// The four corner rectangles of a columns and a * r rows: top left, bottom
// left, top right, bottom right, each from the frame's corner inwards.
std::array<RectangleShape, 4> cornerRectangles(int W, int H, float r, int a);
