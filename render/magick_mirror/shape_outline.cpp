// Every expression keeps ImageMagick's operands and order of operations (and
// the same libm calls), so each traced point is the double it computes.
#include "render/magick_mirror/shape_outline.h"
#include "render/magick_mirror/mirrored_magick.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include <wand/MagickWand.h>

namespace {

constexpr std::size_t kBezierQuantum = 200;
constexpr double kMaxCoordinate = 1e6;
constexpr double kMaxRadius = 1e5;

double degreesToRadians(double degrees) { return M_PI * degrees / 180.0; }

bool inRange(double v) { return std::isfinite(v) && std::fabs(v) <= kMaxCoordinate; }
bool inRange(const ShapePoint& p) { return inRange(p.x) && inRange(p.y); }

// n! / (k! (n - k)!) as a running product.
double permutate(long n, long k) {
    double r = 1.0;
    for (long i = k + 1; i <= n; i++) r *= i;
    for (long i = 1; i <= (n - k); i++) r /= i;
    return r;
}

// A cubic Bezier curve as a run of points: quantum steps per control point,
// the number set by the control points' spread, then the end point.
void traceBezier(std::vector<ShapePoint>& out, const ShapePoint (&control)[4]) {
    const std::size_t count = 4;
    std::size_t quantum = count;
    for (std::size_t i = 0; i < count; i++)
        for (std::size_t j = i + 1; j < count; j++) {
            double alpha = std::fabs(control[j].x - control[i].x);
            if (alpha > static_cast<double>(quantum)) quantum = static_cast<std::size_t>(alpha);
            alpha = std::fabs(control[j].y - control[i].y);
            if (alpha > static_cast<double>(quantum)) quantum = static_cast<std::size_t>(alpha);
        }
    quantum = std::min(quantum / count, kBezierQuantum);
    std::size_t controlPoints = quantum * count;
    double coefficients[count];
    for (std::size_t i = 0; i < count; i++)
        coefficients[i] = permutate(static_cast<long>(count) - 1, static_cast<long>(i));
    double weight = 0.0;
    for (std::size_t i = 0; i < controlPoints; i++) {
        ShapePoint point{0.0, 0.0};
        double alpha = std::pow(1.0 - weight, static_cast<double>(count) - 1.0);
        for (std::size_t j = 0; j < count; j++) {
            point.x += alpha * coefficients[j] * control[j].x;
            point.y += alpha * coefficients[j] * control[j].y;
            alpha *= weight / (1.0 - weight);
        }
        out.push_back(point);
        weight += 1.0 / static_cast<double>(controlPoints);
    }
    out.push_back(control[count - 1]);
}

// An elliptic arc from start to end (SVG's arc): a point when they meet, a
// line when it has no radius, otherwise Bezier quarters at most.
void traceArc(std::vector<ShapePoint>& out, ShapePoint start, ShapePoint end, ShapePoint arc,
              double angle, bool largeArc, bool sweep) {
    if (std::fabs(start.x - end.x) < MagickEpsilon &&
        std::fabs(start.y - end.y) < MagickEpsilon) {
        out.push_back(end);
        return;
    }
    ShapePoint radii{std::fabs(arc.x), std::fabs(arc.y)};
    auto line = [&] {
        out.push_back(start);
        out.push_back(end);
    };
    if (radii.x < MagickEpsilon || radii.y < MagickEpsilon) return line();
    double cosine = std::cos(degreesToRadians(std::fmod(angle, 360.0)));
    double sine = std::sin(degreesToRadians(std::fmod(angle, 360.0)));
    ShapePoint center;
    center.x = cosine * (end.x - start.x) / 2 + sine * (end.y - start.y) / 2;
    center.y = cosine * (end.y - start.y) / 2 - sine * (end.x - start.x) / 2;
    double delta =
        (center.x * center.x) / (radii.x * radii.x) + (center.y * center.y) / (radii.y * radii.y);
    if (delta < MagickEpsilon) return line();
    if (delta > 1.0) {
        radii.x *= std::sqrt(delta);
        radii.y *= std::sqrt(delta);
    }
    ShapePoint points[3];
    points[0].x = cosine * start.x / radii.x + sine * start.y / radii.x;
    points[0].y = cosine * start.y / radii.y - sine * start.x / radii.y;
    points[1].x = cosine * end.x / radii.x + sine * end.y / radii.x;
    points[1].y = cosine * end.y / radii.y - sine * end.x / radii.y;
    double alpha = points[1].x - points[0].x;
    double beta = points[1].y - points[0].y;
    if (std::fabs(alpha * alpha + beta * beta) < MagickEpsilon) return line();
    double factor = PerceptibleReciprocal(alpha * alpha + beta * beta) - 0.25;
    if (factor <= 0.0) {
        factor = 0.0;
    } else {
        factor = std::sqrt(factor);
        if (sweep == largeArc) factor = -factor;
    }
    center.x = (points[0].x + points[1].x) / 2 - factor * beta;
    center.y = (points[0].y + points[1].y) / 2 + factor * alpha;
    alpha = std::atan2(points[0].y - center.y, points[0].x - center.x);
    double theta = std::atan2(points[1].y - center.y, points[1].x - center.x) - alpha;
    if (theta < 0.0 && sweep)
        theta += 2.0 * M_PI;
    else if (theta > 0.0 && !sweep)
        theta -= 2.0 * M_PI;
    double segmentsReal = std::ceil(std::fabs(theta / (0.5 * M_PI + MagickEpsilon)));
    std::size_t segments = static_cast<std::size_t>(static_cast<long>(segmentsReal));
    const double turn = degreesToRadians(360.0);
    const double n = static_cast<double>(segments);
    for (std::size_t i = 0; i < segments; i++) {
        const double at = static_cast<double>(i), next = static_cast<double>(i + 1);
        beta = 0.5 * ((alpha + next * theta / n) - (alpha + at * theta / n));
        double gamma = (8.0 / 3.0) * std::sin(std::fmod(0.5 * beta, turn)) *
                       std::sin(std::fmod(0.5 * beta, turn)) / std::sin(std::fmod(beta, turn));
        // Separate sine and cosine calls, as ImageMagick makes them.
        const double from = alpha + at * theta / n, to = alpha + next * theta / n;
        points[0].x =
            center.x + std::cos(std::fmod(from, turn)) - gamma * std::sin(std::fmod(from, turn));
        points[0].y =
            center.y + std::sin(std::fmod(from, turn)) + gamma * std::cos(std::fmod(from, turn));
        points[2].x = center.x + std::cos(std::fmod(to, turn));
        points[2].y = center.y + std::sin(std::fmod(to, turn));
        points[1].x = points[2].x + gamma * std::sin(std::fmod(to, turn));
        points[1].y = points[2].y - gamma * std::cos(std::fmod(to, turn));
        ShapePoint control[4];
        control[0] = i == 0 ? start : out.back();
        for (int k = 0; k < 3; k++) {
            control[k + 1].x = cosine * radii.x * points[k].x - sine * radii.y * points[k].y;
            control[k + 1].y = sine * radii.x * points[k].x + cosine * radii.y * points[k].y;
        }
        if (i == segments - 1) control[3] = end;
        traceBezier(out, control);
    }
}

// A full ellipse as points every step round from angle 0 (the step an
// eighth of a pixel along the rim, the count capped at the estimate made
// beforehand), closed on its first point; nothing for a radius below epsilon.
void traceEllipse(OutlineSubpath& subpath, ShapePoint center, ShapePoint radii) {
    if (std::fabs(radii.x) < MagickEpsilon || std::fabs(radii.y) < MagickEpsilon) return;
    double delta = PerceptibleReciprocal(radii.x > radii.y ? radii.x : radii.y);
    double step = M_PI / (M_PI * PerceptibleReciprocal(delta)) / 8.0;
    double angle = degreesToRadians(0.0);
    const double last = degreesToRadians(360.0);
    const double turn = degreesToRadians(360.0);
    const long count = static_cast<long>(std::ceil((last - angle) / step + 1.0));
    std::vector<ShapePoint>& points = subpath.points;
    for (; angle < last; angle += step) {
        ShapePoint point{std::cos(std::fmod(angle, turn)) * radii.x + center.x,
                         std::sin(std::fmod(angle, turn)) * radii.y + center.y};
        if (static_cast<long>(points.size()) >= count) break;
        points.push_back(point);
    }
    points.push_back({std::cos(std::fmod(last, turn)) * radii.x + center.x,
                      std::sin(std::fmod(last, turn)) * radii.y + center.y});
    subpath.closed = std::fabs(points.front().x - points.back().x) < MagickEpsilon &&
                     std::fabs(points.front().y - points.back().y) < MagickEpsilon;
}

bool trace(OutlinePrimitive& primitive, const PolygonPath& path) {
    for (const std::vector<ShapePoint>& ring : path.rings) {
        if (ring.empty()) continue;
        // The drawing prints a move that follows a lone move (a ring of one
        // vertex) without its letter, which ImageMagick then rejects: not
        // reproduced.
        if (!primitive.subpaths.empty() && primitive.subpaths.back().points.size() == 2)
            return false;
        OutlineSubpath subpath;
        for (const ShapePoint& p : ring) {
            if (!inRange(p)) return false;
            subpath.points.push_back(p);
        }
        subpath.points.push_back(ring.front());
        subpath.closed = true;
        primitive.subpaths.push_back(std::move(subpath));
    }
    return true;
}

bool trace(OutlinePrimitive& primitive, const RectangleShape& r) {
    if (!inRange(r.x0) || !inRange(r.y0) || !inRange(r.x1) || !inRange(r.y1)) return false;
    if (std::fabs(r.x1 - r.x0) < MagickEpsilon && std::fabs(r.y1 - r.y0) < MagickEpsilon) {
        primitive.isPoint = true;
        primitive.point = {r.x0, r.y0};
        return true;
    }
    primitive.subpaths.push_back(
        {{{r.x0, r.y0}, {r.x0, r.y1}, {r.x1, r.y1}, {r.x1, r.y0}, {r.x0, r.y0}}, true});
    return true;
}

bool trace(OutlinePrimitive& primitive, const CircleShape& circle) {
    if (!inRange(circle.centre) || !inRange(circle.rim)) return false;
    double radius = std::hypot(circle.rim.x - circle.centre.x, circle.rim.y - circle.centre.y);
    if (radius > kMaxRadius) return false;
    OutlineSubpath subpath;
    traceEllipse(subpath, circle.centre, {radius, radius});
    if (!subpath.points.empty()) primitive.subpaths.push_back(std::move(subpath));
    return true;
}

// The slice's path: a spoke left open (closed by the drawing's ghost line),
// then from the centre to the start, the arc, and back to the centre.
bool trace(OutlinePrimitive& primitive, const PieSlice& slice) {
    if (!inRange(slice.centre) || !inRange(slice.start) || !inRange(slice.end) ||
        !std::isfinite(slice.radius) || std::fabs(slice.radius) > kMaxRadius)
        return false;
    primitive.subpaths.push_back({{slice.centre, slice.end}, false});
    OutlineSubpath slicePath;
    slicePath.points = {slice.centre, slice.start};
    traceArc(slicePath.points, slice.start, slice.end, {slice.radius, slice.radius}, 0,
             slice.largeArc, true);
    slicePath.points.push_back(slice.centre);
    slicePath.closed = true;
    primitive.subpaths.push_back(std::move(slicePath));
    return true;
}

} // namespace

std::optional<std::vector<OutlinePrimitive>> traceShape(const Shape& shape, double dx, double dy) {
    // The drawing's affine after its translate: the identity moved by (dx, dy).
    const double sx = 1.0, rx = 0.0, ry = 0.0, sy = 1.0;
    std::vector<OutlinePrimitive> primitives;
    for (const ShapePart& part : shape) {
        OutlinePrimitive primitive;
        bool traced =
            std::visit([&primitive](const auto& piece) { return trace(primitive, piece); }, part);
        if (!traced) return std::nullopt;
        auto move = [&](ShapePoint& p) {
            ShapePoint point = p;
            p.x = sx * point.x + ry * point.y + dx;
            p.y = rx * point.x + sy * point.y + dy;
        };
        move(primitive.point);
        for (OutlineSubpath& subpath : primitive.subpaths)
            for (ShapePoint& p : subpath.points) move(p);
        primitives.push_back(std::move(primitive));
    }
    return primitives;
}
