#include "render/effects/shape_schedule.h"

#include "render/effects/effect_schedule.h"

namespace {

WandPtr previousOnNewPicture(EffectContext& ctx, const std::vector<Shape>& shapes) {
    // One frame serves them all: put back to the plain picture before each
    // shape, it holds what a fresh clone would, without a fresh frame's cost.
    WandPtr frame = cloneCanvas(ctx);
    for (const Shape& shape : shapes) {
        fillShape(frame.get(), previousOrBlack(ctx), shape);
        if (!writeFrame(ctx, frame.get())) return nullptr;
        MagickCompositeImage(frame.get(), ctx.canvas, CopyCompositeOp, 0, 0);
    }
    return finishEffect(ctx, std::move(frame));
}

} // namespace

WandPtr renderShapeSchedule(EffectContext& ctx, const std::vector<Shape>& shapes,
                            ShapeFillSource source) {
    if (source == ShapeFillSource::NewPictureOnPrevious)
        return renderOnPrevious(ctx, shapes, [&ctx](MagickWand* working, const Shape& shape) {
            fillShape(working, ctx.canvas, shape);
        });
    if (isCountMode(ctx)) return countFrames(ctx, static_cast<int>(shapes.size()) + 1);
    if (finalFrameOnly(ctx)) return cloneCanvas(ctx);
    return previousOnNewPicture(ctx, shapes);
}
