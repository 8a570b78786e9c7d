// Masked reveals as schedules: one shape per transition frame, filled with
// one picture over the other, then the plain picture as the final frame, so
// an effect writes shapes.size() + 1 transition frames in both modes.
#pragma once

#include <vector>

#include "render/effects/effect_context.h"
#include "render/effects/shape.h"

enum class ShapeFillSource {
    // Shapes filled with the new picture accumulate on the previous frame
    // itself (or its black stand-in), which is never copied.
    NewPictureOnPrevious,
    // Every frame is a fresh clone of the new picture with the shape filled
    // with the previous frame; nothing accumulates.
    PreviousOnNewPicture,
};

// One shape per step k = 1 .. count, each of the single part partAt(k).
template <class PartAt>
std::vector<Shape> shapesOfSteps(int count, PartAt partAt) {
    std::vector<Shape> shapes;
    for (int k = 1; k <= count; ++k) shapes.push_back(Shape{partAt(k)});
    return shapes;
}

// Count mode stores shapes.size() + 1 + holdFrames. An empty shape writes
// its frame unchanged.
WandPtr renderShapeSchedule(EffectContext& ctx, const std::vector<Shape>& shapes,
                            ShapeFillSource source);
