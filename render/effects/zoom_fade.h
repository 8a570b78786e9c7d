// Schedules of the zoom and fade effects, pure so tests can read them.
#pragma once

#include <vector>

#include "render/effects/effect_family.h"

struct ZoomStep {
    int delta;               // width growth of the picture in pixels
    double previousOpacity;  // opacity of the previous frame laid over it; 0: none
};

// c + 1 steps: the shrink runs k = c .. 0, the enlargement k = 0 .. c, each
// growing the picture by k * d pixels (d made even). The previous frame fades
// out over the first five frames. Empty when c is negative.
std::vector<ZoomStep> zoomSchedule(int c, int d, bool shrink);

enum class ZoomMember { Shrink, Enlarge };

// The zooms (0, 1): parameters c (steps) and d (width step, made even).
WandPtr effect_zoom(EffectContext& ctx, int member, const EffectParams& params);
// The cross-fade (31): parameter s, the level step in percent.
WandPtr effect_fade(EffectContext& ctx, int member, const EffectParams& params);

// The previous frame's opacity in percent on each fade frame, ending with 0
// (the plain picture): ceil(100 / s) levels. s outside 1..20 counts as 6.
std::vector<int> fadeLevels(int s);
