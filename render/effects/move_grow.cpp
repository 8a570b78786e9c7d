// A small copy of the new picture slides in from an edge over the previous
// frame, then grows from the centre on the previous frame itself until it
// covers it.
#include "render/effects/move_grow.h"

#include <algorithm>

#include "render/effects/effect_helpers.h"
#include "render/effects/frame_output.h"
#include "render/effects/grow.h"

namespace {

constexpr int kMovingFrames = 6;

// x truncated toward zero, as the geometry's integer conversions do.
int truncated(long double x) { return static_cast<int>(x); }

} // namespace

MoveGrowGeometry moveGrowGeometry(int W, int H) {
    MoveGrowGeometry g;
    g.m = W / 12;
    if (g.m % 2 != 0) g.m += 1;
    if (g.m < 1) return g;
    g.n = ceilDivide(W, g.m);
    g.r = aspectRatioOf(W, H);
    // The travel is measured with the copy's width in both directions; in a
    // frame lower than that the vertical travel would turn negative and carry
    // the copy out of the frame, so it is held at its starting edge instead.
    g.v = std::max(static_cast<float>((H - 2 * g.m) * 0.5L / 6), 0.0f);
    g.u = std::max(static_cast<float>((W - 2 * g.m) * 0.5L / 6), 0.0f);
    return g;
}

std::vector<MoveGrowFrame> moveGrowFrames(MoveGrowFrom from, int W, int H) {
    std::vector<MoveGrowFrame> frames;
    MoveGrowGeometry g = moveGrowGeometry(W, H);
    if (g.m < 1 || g.n <= 1) return frames;
    const int side = 2 * g.m;
    const long double sideHeight = static_cast<long double>(static_cast<float>(side)) * g.r;
    for (int i = 0; i < kMovingFrames; ++i) {
        MoveGrowFrame frame{MoveGrowPhase::Moving, 0, 0, side, truncated(sideHeight)};
        switch (from) {
        case MoveGrowFrom::Top:
            frame.x = (W - side) / 2;
            frame.y = truncated(static_cast<long double>(i) * g.v);
            break;
        case MoveGrowFrom::Bottom:
            frame.x = (W - side) / 2;
            frame.y = truncated(H - sideHeight - static_cast<long double>(i) * g.v);
            break;
        case MoveGrowFrom::Left:
            frame.x = truncated(static_cast<long double>(i) * g.u);
            frame.y = truncated((H - sideHeight) * 0.5);
            break;
        case MoveGrowFrom::Right:
            frame.x = truncated((W - side) - static_cast<long double>(i) * g.u);
            frame.y = truncated((H - sideHeight) * 0.5);
            break;
        }
        frames.push_back(frame);
    }
    for (int k = 2; k < g.n; ++k) {
        int size = g.m * k;
        long double height = static_cast<long double>(size) * g.r;
        float hf = static_cast<float>(height);
        int y = truncated((H - static_cast<long double>(hf)) * 0.5);
        frames.push_back({MoveGrowPhase::Growing, (W - size) / 2, y, size, truncated(height)});
    }
    frames.push_back({MoveGrowPhase::Final, 0, 0, W, H});
    return frames;
}

namespace {

WandPtr moveGrow(EffectContext& ctx, MoveGrowFrom from) {
    std::vector<MoveGrowFrame> frames = moveGrowFrames(from, ctx.W, ctx.H);
    if (frames.empty()) return effect_none(ctx);
    if (isCountMode(ctx)) return countFrames(ctx, static_cast<int>(frames.size()));

    // Moving: each frame is a fresh copy of the previous frame, which itself
    // stays untouched (and null for the first picture) in this phase.
    WandPtr movingCopy;
    std::vector<int> growing;  // the growing frames and the final one
    for (int i = 0; i < static_cast<int>(frames.size()); ++i) {
        const MoveGrowFrame& at = frames[i];
        if (at.phase != MoveGrowPhase::Moving) {
            growing.push_back(i);
            continue;
        }
        if (finalFrameOnly(ctx)) continue;  // the final frame is the growing run's
        if (!movingCopy) movingCopy = resizedCopy(ctx.canvas, at.width, at.height);
        WandPtr frame = ctx.previous ? cloneWand(ctx.previous.get())
                                     : newCanvasOf(ctx.W, ctx.H, "#000000");
        compositeOver(frame.get(), movingCopy.get(), at.x, at.y);
        if (!writeFrame(ctx, frame.get())) return nullptr;
    }
    movingCopy.reset();
    // Growing from the centre, on the previous frame itself.
    return renderGrowing(ctx, growing, [&](MagickWand* working, int i) {
        const MoveGrowFrame& at = frames[i];
        compositeOver(working, resizedCopy(ctx.canvas, at.width, at.height).get(), at.x, at.y);
    });
}

} // namespace

WandPtr effect_move_grow(EffectContext& ctx, int from, const EffectParams&) {
    return moveGrow(ctx, static_cast<MoveGrowFrom>(from));
}
