// Geometry of the corner-crop and wipe-out effects, pure so tests can read
// it: the new picture is uncovered in place, unscaled, through a rectangular
// opening that grows on the grow family's schedule.
#pragma once

#include "render/effects/effect_family.h"

enum class RevealMember {
    FromTopLeft,               // 6
    FromBottomLeft,            // 8
    FromTopRight,              // 10
    FromBottomRight,           // 12
    CenterToEdges,             // 18: a centred rectangle of the frame's proportions
    MiddleToSidesHorizontal,   // 19: a full-height band about the vertical centre line
    MiddleToSidesVertical,     // 20: a full-width band about the horizontal centre line
    LeftToRight,               // 21
    TopToBottom,               // 22
    BottomToTop,               // 23
    RightToLeft,               // 24
};

// The corner-crop and wipe-out effects, one member each: parameter s, the
// step in pixels.
WandPtr effect_reveal(EffectContext& ctx, int member, const EffectParams& params);

// True for the members whose opening grows along the height (20, 22, 23).
bool revealsAlongHeight(RevealMember member);

// The opening of the frame the picture shows through.
struct RevealOpening {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const RevealOpening&) const = default;
};

// The opening at extent (its width, or its height for 20, 22 and 23) in a
// W x H frame. A side may come out 0 at tiny extents: nothing is uncovered.
RevealOpening revealOpening(RevealMember member, int W, int H, int extent);
