#include "render/effects/shape.h"

#include <algorithm>
#include <cmath>
#include <utility>

double CircleShape::radius() const { return std::hypot(rim.x - centre.x, rim.y - centre.y); }

PolygonPath polygon(std::vector<ShapePoint> vertices) {
    PolygonPath path;
    path.rings.push_back(std::move(vertices));
    return path;
}

PolygonPath polygons(std::vector<std::vector<ShapePoint>> rings) { return {std::move(rings)}; }

RectangleShape rectangle(double x0, double y0, double x1, double y1) { return {x0, y0, x1, y1}; }

CircleShape circleThrough(double cx, double cy, double rimX, double rimY) {
    return {{cx, cy}, {rimX, rimY}};
}

namespace {

// The slices' angles keep the single-precision, 7-digit pi they were
// designed with, so the rim points land where they always did.
double radians(double degrees) { return static_cast<float>(degrees) / 180 * 3.1415926; }

ShapePoint onRim(double cx, double cy, double radius, double degrees) {
    double angle = radians(degrees);
    return {cx + radius * std::cos(angle), cy + radius * std::sin(angle)};
}

void addPart(DrawingWand* draw, const PolygonPath& path) {
    DrawPathStart(draw);
    for (const std::vector<ShapePoint>& ring : path.rings) {
        if (ring.empty()) continue;
        DrawPathMoveToAbsolute(draw, ring.front().x, ring.front().y);
        for (std::size_t i = 1; i < ring.size(); ++i)
            DrawPathLineToAbsolute(draw, ring[i].x, ring[i].y);
        DrawPathClose(draw);
    }
    DrawPathFinish(draw);
}

void addPart(DrawingWand* draw, const RectangleShape& box) {
    DrawRectangle(draw, box.x0, box.y0, box.x1, box.y1);
}

void addPart(DrawingWand* draw, const CircleShape& circle) {
    DrawCircle(draw, circle.centre.x, circle.centre.y, circle.rim.x, circle.rim.y);
}

void addPart(DrawingWand* draw, const PieSlice& slice) {
    const ShapePoint& c = slice.centre;
    DrawPathStart(draw);
    DrawPathMoveToAbsolute(draw, c.x, c.y);
    DrawPathLineToAbsolute(draw, slice.end.x, slice.end.y);
    DrawPathMoveToAbsolute(draw, c.x, c.y);
    DrawPathLineToAbsolute(draw, slice.start.x, slice.start.y);
    DrawPathEllipticArcAbsolute(draw, slice.radius, slice.radius, 0,
                                slice.largeArc ? MagickTrue : MagickFalse, MagickTrue,
                                slice.end.x, slice.end.y);
    DrawPathClose(draw);
    DrawPathFinish(draw);
}

} // namespace

PieSlice pieSlice(double cx, double cy, double radius, double start, double end) {
    return {{cx, cy},
            onRim(cx, cy, radius, start),
            onRim(cx, cy, radius, end),
            radius,
            end - start >= 180,
            start,
            end};
}

namespace {

void include(ShapeBounds& box, double x, double y) {
    if (box.empty()) {
        box = {x, y, x, y};
        return;
    }
    box.x0 = std::min(box.x0, x);
    box.y0 = std::min(box.y0, y);
    box.x1 = std::max(box.x1, x);
    box.y1 = std::max(box.y1, y);
}

void includePart(ShapeBounds& box, const PolygonPath& path) {
    for (const std::vector<ShapePoint>& ring : path.rings)
        for (const ShapePoint& p : ring) include(box, p.x, p.y);
}

void includePart(ShapeBounds& box, const RectangleShape& r) {
    include(box, r.x0, r.y0);
    include(box, r.x1, r.y1);
}

void includeCircle(ShapeBounds& box, const ShapePoint& c, double radius) {
    include(box, c.x - radius, c.y - radius);
    include(box, c.x + radius, c.y + radius);
}

void includePart(ShapeBounds& box, const CircleShape& circle) {
    includeCircle(box, circle.centre, circle.radius());
}

void includePart(ShapeBounds& box, const PieSlice& slice) {
    double sweep = slice.endAngle - slice.startAngle;
    if (!(sweep >= 0 && sweep < 360)) {
        includeCircle(box, slice.centre, slice.radius);
        return;
    }
    include(box, slice.centre.x, slice.centre.y);
    include(box, slice.start.x, slice.start.y);
    include(box, slice.end.x, slice.end.y);
    // The arc bulges out furthest where it crosses an axis.
    for (double axis = std::ceil(slice.startAngle / 90) * 90; axis < slice.endAngle; axis += 90) {
        ShapePoint p = onRim(slice.centre.x, slice.centre.y, slice.radius, axis);
        include(box, p.x, p.y);
    }
}

} // namespace

ShapeBounds shapeBounds(const Shape& shape) {
    ShapeBounds box;
    for (const ShapePart& part : shape)
        std::visit([&box](const auto& piece) { includePart(box, piece); }, part);
    return box;
}

void addShape(DrawingWand* draw, const Shape& shape) {
    for (const ShapePart& part : shape)
        std::visit([draw](const auto& piece) { addPart(draw, piece); }, part);
}

void draw_pie_slice(DrawingWand* draw, double cx, double cy, double radius, double start,
                    double end) {
    addShape(draw, {pieSlice(cx, cy, radius, start, end)});
}
