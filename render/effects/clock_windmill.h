// The clock wipes' and the windmill's slices, one shape per slice frame
// (the final plain frame follows them), pure so tests can read them.
#pragma once

#include <vector>

#include "render/effects/effect_family.h"
#include "render/effects/shape.h"

// The steps of a sweep of `sweep` degrees at angleStep degrees each: the
// whole steps, plus one for a remainder (measured in thousandths of a
// degree). A step below a thousandth of a degree has no steps.
int clockStepCount(int sweep, double angleStep);

enum class ClockWipe {
    From12Clockwise,
    BothWays,  // from 12 o'clock, both ways at once
    From9Clockwise,
    From9Counterclockwise,
    From12Counterclockwise,
};

// The clock wipes (32 to 36), one member per ClockWipe, and the windmill
// (57): parameter the angle step in degrees.
WandPtr effect_clock(EffectContext& ctx, int wipe, const EffectParams& params);
WandPtr effect_windmill(EffectContext& ctx, int member, const EffectParams& params);

// The slice of each step i = 0 .. n - 1 (d = i * angleStep), centred on the
// frame with half its diagonal as radius. A slice whose start and end are
// the same is left out, so its frame shows the previous frame unchanged.
std::vector<Shape> clockShapes(int W, int H, ClockWipe wipe, double angleStep);

// Four blades per step, growing clockwise from 12, 3, 6 and 9 o'clock over
// a quarter turn, their ends truncated to whole degrees.
std::vector<Shape> windmillShapes(int W, int H, double angleStep);
