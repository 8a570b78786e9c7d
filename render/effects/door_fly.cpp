// Doors split a picture at its centre line into halves that slide apart
// (the previous picture leaves) or together (the new one arrives); the fly
// moves four corner pieces out of the frame's corners or into them.
#include "render/effects/door_fly.h"

#include <algorithm>

#include "render/effects/effect_schedule.h"

namespace {

using DoorRow = std::array<Piece, 2> (*)(int W, int H, int d);
const DoorRow kDoorPieces[] = {
    // {x, y, width, height, atX, atY}: the left or top door, then the other
    [](int W, int H, int d) {
        int c = W / 2;
        return std::array<Piece, 2>{{{c - d, 0, d, H, 0, 0}, {c, 0, d, H, W - d, 0}}};
    },
    [](int W, int H, int d) {
        int c = H / 2;
        return std::array<Piece, 2>{{{0, c - d, W, d, 0, 0}, {0, c, W, d, 0, H - d}}};
    },
};

template <std::size_t N>
void layPieces(MagickWand* target, MagickWand* source, const std::array<Piece, N>& pieces) {
    for (const Piece& piece : pieces) compositePiece(target, source, piece);
}

WandPtr doorsOpen(EffectContext& ctx, bool vertical) {
    return renderOnPicture(ctx, doorOpenWidths(vertical ? ctx.H : ctx.W),
                           [&](MagickWand* frame, MagickWand* previous, int d) {
                               layPieces(frame, previous, doorPieces(vertical, ctx.W, ctx.H, d));
                           });
}

WandPtr doorsClose(EffectContext& ctx, bool vertical) {
    return renderOnPrevious(
        ctx, doorCloseWidths(vertical ? ctx.H : ctx.W), [&](MagickWand* working, int d) {
            layPieces(working, ctx.canvas, doorPieces(vertical, ctx.W, ctx.H, d));
        });
}

// The growing widths reversed, closed by 0: the plain picture.
std::vector<int> shrinkingToNothing(std::vector<int> widths) {
    std::reverse(widths.begin(), widths.end());
    widths.push_back(0);
    return widths;
}

} // namespace

int doorStep(int extent) {
    int step = extent / 30;
    if (step % 2 != 0) step += 1;
    return std::max(step, 2);
}

int doorFrameCount(int extent) { return ceilDivide(extent, 2 * doorStep(extent)); }

std::vector<int> doorOpenWidths(int extent) { return shrinkingToNothing(doorCloseWidths(extent)); }

std::vector<int> doorCloseWidths(int extent) {
    return stepMultiples(doorFrameCount(extent), doorStep(extent));
}

std::array<Piece, 2> doorPieces(bool vertical, int W, int H, int d) {
    return kDoorPieces[vertical](W, H, d);
}

int flyStep(int p) {
    if (p % 2 != 0) p = p < 3 ? p + 1 : p - 1;
    return std::max(p, 2);
}

int flyFrameCount(int W, int step) { return ceilDivide(W, 2 * flyStep(step)); }

std::vector<int> flyInWidths(int W, int step) {
    return stepMultiples(flyFrameCount(W, step), flyStep(step));
}

std::vector<int> flyOutWidths(int W, int step) { return shrinkingToNothing(flyInWidths(W, step)); }

std::array<Piece, 4> flyPieces(int W, int H, float r, int d) {
    long double q = static_cast<long double>(d) * r;
    int h = static_cast<int>(q);
    int cx = W / 2, cy = H / 2;
    int yt = static_cast<int>(cy - q);
    // The lower pieces' row takes q rounded to single precision, unlike the
    // upper ones; with the truncations they may stop a row above the edge.
    int yb = static_cast<int>(H - static_cast<double>(static_cast<float>(q)));
    return {{{cx - d, yt, d, h, 0, 0},
             {cx - d, cy, d, h, 0, yb},
             {cx, yt, d, h, W - d, 0},
             {cx, cy, d, h, W - d, yb}}};
}

WandPtr effect_door(EffectContext& ctx, int member, const EffectParams&) {
    switch (static_cast<DoorMember>(member)) {
    case DoorMember::OpenHorizontal: return doorsOpen(ctx, false);
    case DoorMember::OpenVertical: return doorsOpen(ctx, true);
    case DoorMember::CloseHorizontal: return doorsClose(ctx, false);
    case DoorMember::CloseVertical: break;
    }
    return doorsClose(ctx, true);
}

WandPtr effect_fly(EffectContext& ctx, int member, const EffectParams& params) {
    float r = aspectRatio(ctx);
    int step = params.firstInt();
    if (static_cast<FlyMember>(member) == FlyMember::InFromCorners)
        return renderOnPrevious(ctx, flyInWidths(ctx.W, step), [&](MagickWand* working, int d) {
            layPieces(working, ctx.canvas, flyPieces(ctx.W, ctx.H, r, d));
        });
    return renderOnPicture(ctx, flyOutWidths(ctx.W, step),
                           [&](MagickWand* frame, MagickWand* previous, int d) {
                               layPieces(frame, previous, flyPieces(ctx.W, ctx.H, r, d));
                           });
}
