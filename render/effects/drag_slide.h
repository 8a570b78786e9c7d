// Schedules and geometry of the drag, slide-out and slide-in effects, pure
// so tests can read them. E is the extent the picture travels: W for the
// horizontal members, H for the vertical ones.
#pragma once

#include <vector>

#include "render/effects/direction.h"
#include "render/effects/effect_family.h"
#include "render/effects/effect_helpers.h"

// Each family has one member per Direction.
// The drags (27 to 30): parameter s, the step in pixels.
WandPtr effect_drag(EffectContext& ctx, int direction, const EffectParams& params);
// The slide-outs (69 to 72) and slide-ins (85 to 88): no parameters.
WandPtr effect_slide_out(EffectContext& ctx, int direction, const EffectParams& params);
WandPtr effect_slide_in(EffectContext& ctx, int direction, const EffectParams& params);

// Drag offsets: s, 2s, ... while below E, then E itself (the plain
// picture), one per transition frame: ceil(E / s) of them. A step below 1
// counts as 1.
std::vector<int> dragOffsets(int extent, int step);

// What one drag frame shows at offset d: the new picture's piece and the
// previous frame's piece, both laid on a frame that they cover together.
struct DragPieces {
    Piece picture;
    Piece previous;
    bool operator==(const DragPieces&) const = default;
};
DragPieces dragPieces(Direction direction, int W, int H, int offset);

// The slides' step: E / 17, made even by adding 1; at least 2.
int slideStep(int extent);
// Slide-out: k = n .. 0, n = ceil(E / s) - 1; k = 0 is the plain picture.
std::vector<int> slideOutSteps(int extent);
// Slide-in: k = 1 .. n - 1, n = ceil(E / s); the plain picture follows them.
std::vector<int> slideInSteps(int extent);

struct Offset {
    int x = 0, y = 0;
    bool operator==(const Offset&) const = default;
};
// Where the previous frame lies on slide-out step k.
Offset slideOutPosition(Direction direction, int W, int H, int step, int k);
// Where the new picture lies on slide-in step k.
Offset slideInPosition(Direction direction, int W, int H, int step, int k);
