// Control points of the flip effects, pure so tests can read them.
#pragma once

#include <array>
#include <vector>

#include "render/effects/effect_family.h"

// The frame edge the new picture swings about.
enum class FlipHinge { Left, Right, Top, Bottom };

// The flips (60 to 63), one member per hinge: no parameters.
WandPtr effect_flip(EffectContext& ctx, int hinge, const EffectParams& params);

// Four (source x, source y, destination x, destination y) quadruples, in the
// order the perspective distortion takes them.
using PerspectivePoints = std::array<double, 16>;

// The distortion of each frame k = 1 .. 17 (the plain picture is frame 18):
// the hinge edge stays, the opposite edge travels from an eighth of the
// frame to its far side while growing from 1 / 2.3 of the full length.
std::vector<PerspectivePoints> flipControlPoints(FlipHinge hinge, int W, int H);
