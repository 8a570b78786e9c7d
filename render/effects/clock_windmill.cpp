// Clock wipes and the windmill: pie slices of the new picture sweep round
// the frame's centre, drawn on the previous frame and accumulating.
#include "render/effects/clock_windmill.h"

#include <cmath>

#include "render/effects/shape_schedule.h"

int clockStepCount(int sweep, double angleStep) {
    int thousandths = static_cast<int>(angleStep * 1000);
    // Guards the remainder's divisor (and a sweep that would never end).
    if (thousandths < 1) return 0;
    return static_cast<int>(sweep / angleStep) + (1000 * sweep % thousandths != 0 ? 1 : 0);
}

namespace {

struct Dial {
    double cx, cy, radius;
};

// Centred, reaching the corners: half the diagonal, from integer halves.
Dial clockDial(int W, int H) {
    return {static_cast<double>(W / 2), static_cast<double>(H / 2),
            std::sqrt(static_cast<double>((W / 2) * W / 2 + (H / 2) * H / 2))};
}

// A slice from start to end, or nothing for an empty one (ImageMagick would
// draw a hairline for it).
void addSlice(Shape& shape, const Dial& f, double start, double end) {
    if (start != end) shape.push_back(pieSlice(f.cx, f.cy, f.radius, start, end));
}

} // namespace

std::vector<Shape> clockShapes(int W, int H, ClockWipe wipe, double angleStep) {
    Dial f = clockDial(W, H);
    int n = clockStepCount(wipe == ClockWipe::BothWays ? 180 : 360, angleStep);
    std::vector<Shape> shapes(n > 0 ? n : 0);
    for (int i = 0; i < n; ++i) {
        double d = i * angleStep;
        Shape& shape = shapes[i];
        switch (wipe) {
        case ClockWipe::From12Clockwise: addSlice(shape, f, 270, 270 + d); break;
        case ClockWipe::From9Clockwise: addSlice(shape, f, 180, 180 + d); break;
        case ClockWipe::From9Counterclockwise: addSlice(shape, f, 180 - d, 180); break;
        case ClockWipe::From12Counterclockwise: addSlice(shape, f, 270 - d, 270); break;
        case ClockWipe::BothWays:
            // The first frame already shows a thin wedge round 12 o'clock.
            if (i == 0)
                addSlice(shape, f, 270 - 0.2 * angleStep, 270 + 0.2 * angleStep);
            else
                addSlice(shape, f, 270 - d, 270 + d);
            break;
        }
    }
    return shapes;
}

std::vector<Shape> windmillShapes(int W, int H, double angleStep) {
    Dial f = clockDial(W, H);
    int n = clockStepCount(90, angleStep);
    std::vector<Shape> shapes(n > 0 ? n : 0);
    for (int i = 0; i < n; ++i) {
        double d = i * angleStep;
        for (int start : {270, 0, 90, 180})
            addSlice(shapes[i], f, start, static_cast<int>(start + d));
    }
    return shapes;
}

WandPtr effect_clock(EffectContext& ctx, int wipe, const EffectParams& params) {
    return renderShapeSchedule(ctx,
                               clockShapes(ctx.W, ctx.H, static_cast<ClockWipe>(wipe), params.first),
                               ShapeFillSource::NewPictureOnPrevious);
}

WandPtr effect_windmill(EffectContext& ctx, int, const EffectParams& params) {
    return renderShapeSchedule(ctx, windmillShapes(ctx.W, ctx.H, params.first),
                               ShapeFillSource::NewPictureOnPrevious);
}
