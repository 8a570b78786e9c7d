// Diagonal and scan: slanted fronts. The diagonals and the scan in draw the
// new picture on the previous frame in place; the scan out draws shrinking
// triangles of the previous frame on fresh copies of the new picture.
#include "render/effects/diagonal_scan.h"

#include <algorithm>

#include "render/effects/effect_helpers.h"
#include "render/effects/shape_schedule.h"

namespace {

constexpr int kShapeFrames = 19;

PolygonPath diagonalTriangle(DiagonalCorner corner, int W, int H, int k) {
    // The longer side sets the step, so the front stays at 45 degrees.
    int t = 2 * std::max(W, H) / 20;
    double r = k * t;
    double w = W, h = H;
    switch (corner) {
    case DiagonalCorner::TopLeft:
        return polygon({{0, 0}, {r, 0}, {0, r}});
    case DiagonalCorner::BottomLeft:
        return polygon({{0, h}, {0, h - r}, {r, h}});
    case DiagonalCorner::TopRight:
        return polygon({{w, 0}, {w - r, 0}, {w, r}});
    case DiagonalCorner::BottomRight:
        break;
    }
    return polygon({{w, h}, {w - r, h}, {w, h - r}});
}

PolygonPath scanPair(bool scanIn, int W, int H, int k) {
    // W alone sets the step on both axes.
    double d = k * (W / 20);
    double w = W, h = H;
    if (scanIn) return polygons({{{0, 0}, {d, 0}, {0, h}}, {{w, 0}, {w, h}, {w - d, h}}});
    return polygons({{{0, 0}, {w - d, 0}, {0, h}}, {{w, 0}, {w, h}, {d, h}}});
}

} // namespace

std::vector<Shape> diagonalTriangles(DiagonalCorner corner, int W, int H) {
    return shapesOfSteps(kShapeFrames, [&](int k) { return diagonalTriangle(corner, W, H, k); });
}

std::vector<Shape> scanTriangles(bool scanIn, int W, int H) {
    return shapesOfSteps(kShapeFrames, [&](int k) { return scanPair(scanIn, W, H, k); });
}

WandPtr effect_diagonal(EffectContext& ctx, int corner, const EffectParams&) {
    return renderShapeSchedule(
        ctx, diagonalTriangles(static_cast<DiagonalCorner>(corner), ctx.W, ctx.H),
        ShapeFillSource::NewPictureOnPrevious);
}

WandPtr effect_scan(EffectContext& ctx, int member, const EffectParams&) {
    bool scanIn = static_cast<ScanMember>(member) == ScanMember::In;
    return renderShapeSchedule(ctx, scanTriangles(scanIn, ctx.W, ctx.H),
                               scanIn ? ShapeFillSource::NewPictureOnPrevious
                                      : ShapeFillSource::PreviousOnNewPicture);
}
