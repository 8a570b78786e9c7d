// The grow family's geometry, pure so tests (and the corner-crop reveals,
// which share the schedule) can read it, and the growing run both draw.
#pragma once

#include <functional>
#include <vector>

#include "render/effects/effect_family.h"

// The extents e the new picture takes, one per transition frame: step,
// 2 * step, ... while below extent, then extent itself (the last step
// clamped so the run ends exactly there), which is the final frame; that is
// ceil(extent / step) entries. A step that cannot grow (below 1) or is not
// below the extent gives the final frame alone.
std::vector<int> growSchedule(int extent, int step);

// Where the growing copy is anchored.
enum class GrowAnchor {
    TopLeft,
    BottomLeft,
    TopRight,
    BottomRight,
    LeftMiddle,
    TopMiddle,     // grows along the height
    RightMiddle,
    BottomMiddle,  // grows along the height
    Center,
};

// The grow effects (5, 7, 9, 11, 13 to 17), one member per anchor:
// parameter s, the step in pixels.
WandPtr effect_grow(EffectContext& ctx, int anchor, const EffectParams& params);

// True for the members whose extent is the height.
bool growsAlongHeight(GrowAnchor anchor);

// The scaled copy of the picture at extent e: its size and its offset.
struct GrowPlacement {
    int width = 0, height = 0;
    int x = 0, y = 0;
    bool operator==(const GrowPlacement&) const = default;
};

// The copy's size keeps the frame's proportions (the other side is
// truncated) and its offset anchors it as the member says.
GrowPlacement growPlacement(GrowAnchor anchor, int W, int H, int extent);

// A growing run: one transition frame per extent, drawn on the previous
// frame itself (a black canvas for the first picture), where drawGrowing
// lays the picture for that extent and drawing accumulates; the last extent
// is the final frame, the whole picture, written once and held. The grow
// and the corner-crop effects differ only in drawGrowing.
WandPtr renderGrowing(EffectContext& ctx, const std::vector<int>& extents,
                      const std::function<void(MagickWand* working, int extent)>& drawGrowing);
