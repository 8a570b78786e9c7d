// Shapes the masked effects fill with a picture: closed polygons, rectangles,
// circles and pie slices. The builders are pure, so the geometry can be
// checked without drawing; addShape hands a shape to an ImageMagick drawing.
// Coordinates are ImageMagick's: integers are pixel centres, y points down.
#pragma once

#include <variant>
#include <vector>

#include <wand/MagickWand.h>

struct ShapePoint {
    double x = 0, y = 0;
    bool operator==(const ShapePoint&) const = default;
};

// One path of closed sub-paths of straight segments, each drawn in its
// vertex order (several rings make one path, filled together).
struct PolygonPath {
    std::vector<std::vector<ShapePoint>> rings;
};

// Corners (x0, y0) and (x1, y1), both inside.
struct RectangleShape {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool operator==(const RectangleShape&) const = default;
};

// A circle given by its centre and one point on its rim.
struct CircleShape {
    ShapePoint centre, rim;
    double radius() const;
};

// A pie slice from angle start clockwise to angle end (degrees, 0 at
// 3 o'clock): start and end are its points on the rim.
struct PieSlice {
    ShapePoint centre, start, end;
    double radius = 0;
    bool largeArc = false;
    double startAngle = 0, endAngle = 0;
};

using ShapePart = std::variant<PolygonPath, RectangleShape, CircleShape, PieSlice>;
// Parts drawn one after another in one drawing.
using Shape = std::vector<ShapePart>;

// A path of one closed polygon through the vertices in order.
PolygonPath polygon(std::vector<ShapePoint> vertices);
// A path of several closed polygons, one sub-path each.
PolygonPath polygons(std::vector<std::vector<ShapePoint>> rings);
RectangleShape rectangle(double x0, double y0, double x1, double y1);
CircleShape circleThrough(double cx, double cy, double rimX, double rimY);
// The slice's rim points: angles in single precision over 180 times
// 3.1415926; the large-arc flag is set from 180 degrees on.
PieSlice pieSlice(double cx, double cy, double radius, double start, double end);

// The smallest box holding every part: x0 <= x1 and y0 <= y1, or an empty
// box (x0 > x1) for a shape without points.
struct ShapeBounds {
    double x0 = 0, y0 = 0, x1 = -1, y1 = -1;
    bool empty() const { return x0 > x1 || y0 > y1; }
};
ShapeBounds shapeBounds(const Shape& shape);

// Appends the shape's parts to the drawing, in order.
void addShape(DrawingWand* draw, const Shape& shape);
// Appends one pie slice as a path: a spoke to the end point, then the slice
// from the start point along the arc to the end point, closed at the centre.
void draw_pie_slice(DrawingWand* draw, double cx, double cy, double radius, double start,
                    double end);
