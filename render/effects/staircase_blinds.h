// Schedules and geometry of the raster staircase and blinds effects, pure
// so tests can read them. Rectangles are in drawing coordinates (integers
// are pixel centres) and filled with the new picture.
#pragma once

#include <vector>

#include "render/effects/direction.h"
#include "render/effects/effect_family.h"
#include "render/effects/shape.h"

enum class BlindsMember { LeftToRight, TopToBottom };

// The raster staircases (41 to 44), one member per Direction: parameter n,
// the number of bands.
WandPtr effect_staircase(EffectContext& ctx, int direction, const EffectParams& params);
// The blinds (49, 50): parameter n, the number of slats.
WandPtr effect_blinds(EffectContext& ctx, int member, const EffectParams& params);

struct StaircaseGeometry {
    double band = 0;    // b: W / n, or the longer side / n for the vertical members
    double growth = 0;  // g = 3 * b / n, added to every band each frame
    int frames = 0;     // F = trunc(n + b / g) transition frames, the last the plain picture
};
// n below 1 counts as 1.
StaircaseGeometry staircaseGeometry(Direction direction, int W, int H, int bands);
// Frame k's bands i = 0 .. k - 1, each (k - i) * g long from its slot's
// leading edge i * b.
std::vector<RectangleShape> staircaseRectangles(Direction direction, int W, int H,
                                                  const StaircaseGeometry& geometry, int k);

// The blinds write 17 frames of growing slats, then the plain picture.
constexpr int kBlindsFrames = 18;
// Frame k's n slats, each k / 18 of its width a = W / n (H / n when vertical)
// from its leading edge. n below 1 counts as 1.
std::vector<RectangleShape> blindsRectangles(bool vertical, int W, int H, int slats, int k);
