// The grow family's geometry, pure so tests (and the corner-crop reveals,
// which share the schedule) can read it.
#pragma once

#include <vector>

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
