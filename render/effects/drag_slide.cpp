// Whole pictures moving across the frame: the drag pushes the previous
// frame out with the new picture following edge to edge; the slide-out
// moves the previous frame off the standing picture; the slide-in moves the
// new picture over the standing previous frame.
#include "render/effects/drag_slide.h"

#include <algorithm>

#include "render/effects/effect_schedule.h"
#include "render/effects/grow.h"

namespace {

// One row per direction, in Direction's order. The members are not mirror
// images of each other (the pieces of 28 and 30 are cut, 27 and 29 lay the
// whole frame), so each is written out as it is.
using DragRow = DragPieces (*)(int W, int H, int d);
const DragRow kDragPieces[] = {
    // picture: {x, y, width, height, atX, atY}; previous: the same
    [](int W, int H, int d) { return DragPieces{{W - d, 0, d, H, 0, 0}, {0, 0, W, H, d, 0}}; },
    [](int W, int H, int d) { return DragPieces{{0, 0, d, H, W - d, 0}, {d, 0, W - d, H, 0, 0}}; },
    [](int W, int H, int d) { return DragPieces{{0, H - d, W, d, 0, 0}, {0, 0, W, H, 0, d}}; },
    [](int W, int H, int d) { return DragPieces{{0, 0, W, d, 0, H - d}, {0, d, W, H - d, 0, 0}}; },
};

using PositionRow = Offset (*)(int W, int H, int ks);
const PositionRow kSlideOutPositions[] = {
    [](int W, int, int ks) { return Offset{W - ks, 0}; },
    [](int W, int, int ks) { return Offset{ks - W, 0}; },
    [](int, int H, int ks) { return Offset{0, H - ks}; },
    [](int, int H, int ks) { return Offset{0, ks - H}; },
};
const PositionRow kSlideInPositions[] = {
    [](int W, int, int ks) { return Offset{ks - W, 0}; },
    [](int W, int, int ks) { return Offset{W - ks, 0}; },
    [](int, int H, int ks) { return Offset{0, ks - H}; },
    [](int, int H, int ks) { return Offset{0, H - ks}; },
};

int row(Direction direction) { return static_cast<int>(direction); }
int extentOf(Direction direction, int W, int H) { return isVertical(direction) ? H : W; }

WandPtr drag(EffectContext& ctx, Direction direction, int step) {
    std::vector<int> offsets = dragOffsets(extentOf(direction, ctx.W, ctx.H), step);
    if (isCountMode(ctx)) return countFrames(ctx, static_cast<int>(offsets.size()));
    if (finalFrameOnly(ctx)) return cloneCanvas(ctx);
    MagickWand* previous = previousOrBlack(ctx);
    // One output frame serves every step: the two pieces cover it whole.
    WandPtr output = newCanvasOf(ctx.W, ctx.H, "#000000");
    for (std::size_t i = 0; i + 1 < offsets.size(); ++i) {
        DragPieces pieces = dragPieces(direction, ctx.W, ctx.H, offsets[i]);
        compositePiece(output.get(), ctx.canvas, pieces.picture);
        compositePiece(output.get(), previous, pieces.previous);
        if (!writeFrame(ctx, output.get())) return nullptr;
    }
    output.reset();
    return finishEffect(ctx, cloneCanvas(ctx));
}

WandPtr slideOut(EffectContext& ctx, Direction direction) {
    int step = slideStep(extentOf(direction, ctx.W, ctx.H));
    return renderOnPicture(ctx, slideOutSteps(extentOf(direction, ctx.W, ctx.H)),
                           [&](MagickWand* frame, MagickWand* previous, int k) {
                               Offset at = slideOutPosition(direction, ctx.W, ctx.H, step, k);
                               compositeOver(frame, previous, at.x, at.y);
                           });
}

WandPtr slideIn(EffectContext& ctx, Direction direction) {
    int step = slideStep(extentOf(direction, ctx.W, ctx.H));
    return renderOnPrevious(ctx, slideInSteps(extentOf(direction, ctx.W, ctx.H)),
                            [&](MagickWand* working, int k) {
                                Offset at = slideInPosition(direction, ctx.W, ctx.H, step, k);
                                compositeOver(working, ctx.canvas, at.x, at.y);
                            });
}

} // namespace

std::vector<int> dragOffsets(int extent, int step) {
    // The grow family's run, but a step below 1 still moves.
    return growSchedule(extent, std::max(step, 1));
}

DragPieces dragPieces(Direction direction, int W, int H, int offset) {
    return kDragPieces[row(direction)](W, H, offset);
}

int slideStep(int extent) {
    int step = extent / 17;
    if (step % 2 != 0) step += 1;
    return std::max(step, 2);
}

std::vector<int> slideOutSteps(int extent) {
    int step = slideStep(extent);
    int n = ceilDivide(extent, step) - 1;
    std::vector<int> steps;
    for (int k = n; k >= 0; --k) steps.push_back(k);
    return steps;
}

std::vector<int> slideInSteps(int extent) {
    return stepMultiples(ceilDivide(extent, slideStep(extent)), 1);
}

Offset slideOutPosition(Direction direction, int W, int H, int step, int k) {
    return kSlideOutPositions[row(direction)](W, H, k * step);
}

Offset slideInPosition(Direction direction, int W, int H, int step, int k) {
    return kSlideInPositions[row(direction)](W, H, k * step);
}

WandPtr effect_drag(EffectContext& ctx, int direction, const EffectParams& params) {
    return drag(ctx, static_cast<Direction>(direction), params.firstInt());
}

WandPtr effect_slide_out(EffectContext& ctx, int direction, const EffectParams&) {
    return slideOut(ctx, static_cast<Direction>(direction));
}

WandPtr effect_slide_in(EffectContext& ctx, int direction, const EffectParams&) {
    return slideIn(ctx, static_cast<Direction>(direction));
}
