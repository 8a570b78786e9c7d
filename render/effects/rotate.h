// Steps of the rotate effects, pure so tests can read them.
#pragma once

#include <vector>

#include "render/effects/effect_family.h"

enum class RotateMember { ClockwiseGrow, CounterclockwiseGrow, ClockwiseShrink, CounterclockwiseShrink };

// The rotations (45 to 48): no parameters.
WandPtr effect_rotate(EffectContext& ctx, int member, const EffectParams& params);

// One frame of a rotate effect: the turning piece's size before it turns,
// its angle (degrees, clockwise) and opacity (1.0 opaque), or the plain
// picture on the last frame.
struct RotateStep {
    int width = 0;
    int height = 0;
    double angle = 0;
    double opacity = 1.0;
    bool shown = false;  // false: no piece (the plain picture, or faded out)
};

// 20 steps: in a growing member the new picture turns in from a twentieth of
// the frame, fading up; in a shrinking member the previous frame turns away
// to a twentieth, fading out. The last step is the plain picture.
std::vector<RotateStep> rotateSchedule(int W, int H, bool grow, bool clockwise);
