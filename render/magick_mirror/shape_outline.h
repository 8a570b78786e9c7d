// The points ImageMagick's drawing traces for a shape: each part becomes one
// drawing primitive, a list of sub-paths of points (circles and arcs as the
// short segments it cuts them into), moved by the drawing's translation.
// The coordinates are those the drawing reads back from its own text, which
// prints every number with 20 significant digits: the doubles given, exactly.
#pragma once

#include <optional>
#include <vector>

#include "render/effects/shape.h"

struct OutlineSubpath {
    std::vector<ShapePoint> points;
    bool closed = false;
};

// One primitive: sub-paths filled together, or a single point (a rectangle
// whose corners coincide is drawn as one pixel). A primitive without
// sub-paths draws nothing.
struct OutlinePrimitive {
    std::vector<OutlineSubpath> subpaths;
    bool isPoint = false;
    ShapePoint point;
};

// The shape's primitives in drawing order, translated by (dx, dy); nothing
// for a shape with a coordinate out of the range traced here (beyond a
// million, or a circle or arc radius beyond a hundred thousand).
std::optional<std::vector<OutlinePrimitive>> traceShape(const Shape& shape, double dx, double dy);
