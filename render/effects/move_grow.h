// Geometry of the move-grow effects, pure so tests can read it: a small copy
// of the new picture slides in from an edge towards the middle (six frames),
// then grows from the centre until it fills the frame.
#pragma once

#include <vector>

#include "render/effects/effect_family.h"

enum class MoveGrowFrom { Top, Bottom, Left, Right };

// The move-grow effects (89 to 92), one member per edge: no parameters.
WandPtr effect_move_grow(EffectContext& ctx, int from, const EffectParams& params);

struct MoveGrowGeometry {
    int m = 0;      // growth step, W/12 made even
    int n = 0;      // ceil(W / m): the final frame's multiple of m
    float r = 0;    // H / W
    float v = 0;    // vertical move per frame, never negative
    float u = 0;    // horizontal move per frame, never negative
};
MoveGrowGeometry moveGrowGeometry(int W, int H);

enum class MoveGrowPhase { Moving, Growing, Final };

// One frame: where the copy of the picture lies and how large it is.
struct MoveGrowFrame {
    MoveGrowPhase phase = MoveGrowPhase::Final;
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const MoveGrowFrame&) const = default;
};

// Every frame of a member at W x H: six moving frames, n - 2 growing frames
// and the final frame (the whole picture at (0, 0)). Empty (no animation)
// when the frame is too narrow to grow in steps.
std::vector<MoveGrowFrame> moveGrowFrames(MoveGrowFrom from, int W, int H);
