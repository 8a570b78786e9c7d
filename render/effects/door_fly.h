// Schedules and geometry of the door and fly effects, pure so tests can
// read them. Every frame is made of pieces: rectangles cut out of one
// picture and laid on another, never scaled.
#pragma once

#include <array>
#include <vector>

#include "render/effects/effect_family.h"
#include "render/effects/effect_helpers.h"

enum class DoorMember { OpenHorizontal, OpenVertical, CloseHorizontal, CloseVertical };
enum class FlyMember { InFromCorners, OutToCorners };

// The doors (95 to 98): no parameters.
WandPtr effect_door(EffectContext& ctx, int member, const EffectParams& params);
// The fly effects (39, 40): parameter p, from which the step is made.
WandPtr effect_fly(EffectContext& ctx, int member, const EffectParams& params);

// Door step over the extent E (W for the side-by-side doors, H for the
// stacked ones): E / 30 made even by adding 1; at least 2.
int doorStep(int extent);
// Door transition frames: ceil(E / 2l).
int doorFrameCount(int extent);
// Opening door widths: (n - 1) * l down to l, then 0 (the plain picture).
std::vector<int> doorOpenWidths(int extent);
// Closing door widths: l .. (n - 1) * l; the plain picture follows them.
std::vector<int> doorCloseWidths(int extent);
// The two doors of width d: the halves' strips next to the centre line,
// each pressed against its own outer edge.
std::array<Piece, 2> doorPieces(bool vertical, int W, int H, int d);

// Fly step from the parameter p: an odd p becomes p - 1, or p + 1 below 3;
// at least 2.
int flyStep(int p);
// Fly transition frames: ceil(W / 2s).
int flyFrameCount(int W, int step);
// Flying-in piece widths: s .. (n - 1) * s; the plain picture follows them.
std::vector<int> flyInWidths(int W, int step);
// Flying-out piece widths: (n - 1) * s down to s, then 0 (the plain picture).
std::vector<int> flyOutWidths(int W, int step);
// The four pieces of width d, in drawing order: top left, bottom left, top
// right, bottom right; each is the corner of its quarter that touches the
// frame's centre, laid in the frame's own corner.
std::array<Piece, 4> flyPieces(int W, int H, float r, int d);
