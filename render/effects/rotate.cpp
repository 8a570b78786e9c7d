// Rotate: one picture turns once about the frame's centre while scaling,
// over the other, on a fresh frame each time.
#include "render/effects/rotate.h"

#include "render/effects/effect_helpers.h"
#include "render/effects/effect_schedule.h"
#include "render/magick_mirror/image_distort.h"

namespace {

constexpr int kSteps = 20;
constexpr double kTurnStep = 18;
constexpr double kFadeStep = 0.05;

// A copy of picture at the step's size, faded and turned on a transparent
// ground, composited centred on frame. The turned piece is as large as its
// bounding box; its page offset is ignored.
void drawTurned(MagickWand* frame, MagickWand* picture, const RotateStep& step, int W, int H) {
    WandPtr piece = resizedCopy(picture, step.width, step.height);
    if (!piece) return;
    if (step.opacity < 1.0) setOpacity(piece.get(), step.opacity);
    PixelWandPtr transparent = newPixelWand("#FFFFFF00");
    if (!rotateOnBackground(piece.get(), transparent.get(), step.angle)) return;
    int turnedWidth = static_cast<int>(MagickGetImageWidth(piece.get()));
    int turnedHeight = static_cast<int>(MagickGetImageHeight(piece.get()));
    compositeOver(frame, piece.get(), (W - turnedWidth) / 2, (H - turnedHeight) / 2);
}

WandPtr rotate(EffectContext& ctx, bool grow, bool clockwise) {
    return renderIndependentSteps(ctx, rotateSchedule(ctx.W, ctx.H, grow, clockwise),
                                  [grow](EffectContext& own, const RotateStep& step) {
        if (!step.shown) return cloneCanvas(own);
        if (grow) {
            WandPtr frame = cloneWand(previousOrBlack(own));
            drawTurned(frame.get(), own.canvas, step, own.W, own.H);
            return frame;
        }
        WandPtr frame = cloneCanvas(own);
        drawTurned(frame.get(), previousOrBlack(own), step, own.W, own.H);
        return frame;
    });
}

} // namespace

std::vector<RotateStep> rotateSchedule(int W, int H, bool grow, bool clockwise) {
    int sw = W / 20, sh = H / 20;
    std::vector<RotateStep> steps;
    // The opacity is accumulated, not recomputed, as it always was: the
    // growing piece's sum passes 1.0 on its last turning frame.
    double opacity = grow ? kFadeStep : 1.0;
    for (int i = 1; i < kSteps; ++i) {
        int scale = grow ? i : kSteps - i;
        RotateStep step;
        step.width = scale * sw;
        step.height = scale * sh;
        // Turning on while growing or shrinking: the angle follows the scale
        // in one pair of members and its complement in the other.
        bool angleFollowsScale = grow == clockwise;
        step.angle = angleFollowsScale ? kTurnStep * scale : 360 - kTurnStep * scale;
        opacity += grow ? kFadeStep : -kFadeStep;
        step.opacity = opacity < 1.0 ? opacity : 1.0;
        step.shown = opacity > 0;
        steps.push_back(step);
    }
    steps.push_back(RotateStep{});
    return steps;
}

WandPtr effect_rotate(EffectContext& ctx, int member, const EffectParams&) {
    auto which = static_cast<RotateMember>(member);
    bool grow = which == RotateMember::ClockwiseGrow || which == RotateMember::CounterclockwiseGrow;
    bool clockwise = which == RotateMember::ClockwiseGrow || which == RotateMember::ClockwiseShrink;
    return rotate(ctx, grow, clockwise);
}
