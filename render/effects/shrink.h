// Schedules and geometry of the shrink effects, pure so tests can read them:
// the previous frame shrinks away, towards the middle or into a corner, over
// the new picture standing full-size behind it.
#pragma once

#include <vector>

#include "render/effects/effect_family.h"

enum class ShrinkMember {
    EdgesToCenter,            // 66: both sides, keeping the frame's proportions
    SidesToMiddleHorizontal,  // 67: full-height band narrowing to the vertical centre line
    SidesToMiddleVertical,    // 68: full-width band narrowing to the horizontal centre line
    TopLeft,                  // 81
    BottomLeft,               // 82
    TopRight,                 // 83
    BottomRight,              // 84
};

// The shrinks to the middle (66 to 68): parameter s, the step in pixels.
// The shrinks into a corner (81 to 84): no parameters.
WandPtr effect_shrink(EffectContext& ctx, int member, const EffectParams& params);

// Where the shrinking copy lies in one frame.
struct ShrinkPlacement {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const ShrinkPlacement&) const = default;
};

// The copy's remaining extent on every frame of a shrink to the middle,
// ending with 0 (the final, plain frame): d = extent - step, falling by step.
// With slowLastStep (67, 68) a last full step is covered in three frames and
// a short one in two. Empty (no animation) when step is not below extent or
// below 1.
std::vector<int> shrinkToMiddleSteps(int extent, int step, bool slowLastStep);

// A shrink into a corner: 15 * unit, 14 * unit, ..., unit, then 0 (the final
// frame): always 16 frames.
std::vector<int> shrinkToCornerSteps(int unit);

// The step a member takes for a W x H frame: the middle members' parameter
// comes from the dispatch table; the corner members step by W/16 or H/16.
int shrinkToCornerUnit(ShrinkMember member, int W, int H);

// The copy's size and offset at extent (its width, or its height for 68, 83
// and 84) in a W x H frame whose aspect ratio is r. A size may come out 0
// (a sliver truncated away): the frame then shows the plain picture.
ShrinkPlacement shrinkPlacement(ShrinkMember member, int W, int H, float r, int extent);
