// Every expression keeps ImageMagick's operands and order of operations (and
// the same libm calls), so each traced point is the double it computes.
#include "render/magick_mirror/shape_outline.h"
#include "render/magick_mirror/mirrored_magick.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>

#include <wand/MagickWand.h>

namespace {

constexpr std::size_t kBezierQuantum = 200;
constexpr double kMaxCoordinate = 1e6;
constexpr double kMaxRadius = 1e5;

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

// An elliptic arc mapped onto the unit circle: the rotation by the arc's
// angle, the radii (grown when too short to join the ends), the centre
// there, the start angle and the sweep.
struct UnitArc {
    double cosine = 1, sine = 0;
    ShapePoint radii;
    ShapePoint center;
    double alpha = 0, theta = 0;
};

// The arc from start to end on the unit circle; nothing when it is drawn as
// a line (no radius, or ends too close together there).
std::optional<UnitArc> unitArc(ShapePoint start, ShapePoint end, ShapePoint arc, double angle,
                               bool largeArc, bool sweep) {
    UnitArc u;
    u.radii = {std::fabs(arc.x), std::fabs(arc.y)};
    if (u.radii.x < MagickEpsilon || u.radii.y < MagickEpsilon) return std::nullopt;
    u.cosine = std::cos(degreesToRadians(std::fmod(angle, 360.0)));
    u.sine = std::sin(degreesToRadians(std::fmod(angle, 360.0)));
    const double cosine = u.cosine, sine = u.sine;
    ShapePoint center;
    center.x = cosine * (end.x - start.x) / 2 + sine * (end.y - start.y) / 2;
    center.y = cosine * (end.y - start.y) / 2 - sine * (end.x - start.x) / 2;
    double delta = (center.x * center.x) / (u.radii.x * u.radii.x) +
                   (center.y * center.y) / (u.radii.y * u.radii.y);
    if (delta < MagickEpsilon) return std::nullopt;
    if (delta > 1.0) {
        u.radii.x *= std::sqrt(delta);
        u.radii.y *= std::sqrt(delta);
    }
    ShapePoint from, to;
    from.x = cosine * start.x / u.radii.x + sine * start.y / u.radii.x;
    from.y = cosine * start.y / u.radii.y - sine * start.x / u.radii.y;
    to.x = cosine * end.x / u.radii.x + sine * end.y / u.radii.x;
    to.y = cosine * end.y / u.radii.y - sine * end.x / u.radii.y;
    double alpha = to.x - from.x;
    double beta = to.y - from.y;
    if (std::fabs(alpha * alpha + beta * beta) < MagickEpsilon) return std::nullopt;
    double factor = PerceptibleReciprocal(alpha * alpha + beta * beta) - 0.25;
    if (factor <= 0.0) {
        factor = 0.0;
    } else {
        factor = std::sqrt(factor);
        if (sweep == largeArc) factor = -factor;
    }
    u.center.x = (from.x + to.x) / 2 - factor * beta;
    u.center.y = (from.y + to.y) / 2 + factor * alpha;
    u.alpha = std::atan2(from.y - u.center.y, from.x - u.center.x);
    u.theta = std::atan2(to.y - u.center.y, to.x - u.center.x) - u.alpha;
    if (u.theta < 0.0 && sweep)
        u.theta += 2.0 * M_PI;
    else if (u.theta > 0.0 && !sweep)
        u.theta -= 2.0 * M_PI;
    return u;
}

// Segment i of n of the arc as a cubic Bezier curve's last three control
// points, back in the drawing's frame.
void arcSegmentControls(const UnitArc& u, std::size_t i, std::size_t n, ShapePoint* control) {
    const double turn = degreesToRadians(360.0);
    const double at = static_cast<double>(i), next = static_cast<double>(i + 1);
    const double count = static_cast<double>(n);
    double beta = 0.5 * ((u.alpha + next * u.theta / count) - (u.alpha + at * u.theta / count));
    double gamma = (8.0 / 3.0) * std::sin(std::fmod(0.5 * beta, turn)) *
                   std::sin(std::fmod(0.5 * beta, turn)) / std::sin(std::fmod(beta, turn));
    // Separate sine and cosine calls, as ImageMagick makes them.
    const double from = u.alpha + at * u.theta / count, to = u.alpha + next * u.theta / count;
    ShapePoint points[3];
    points[0].x =
        u.center.x + std::cos(std::fmod(from, turn)) - gamma * std::sin(std::fmod(from, turn));
    points[0].y =
        u.center.y + std::sin(std::fmod(from, turn)) + gamma * std::cos(std::fmod(from, turn));
    points[2].x = u.center.x + std::cos(std::fmod(to, turn));
    points[2].y = u.center.y + std::sin(std::fmod(to, turn));
    points[1].x = points[2].x + gamma * std::sin(std::fmod(to, turn));
    points[1].y = points[2].y - gamma * std::cos(std::fmod(to, turn));
    for (int k = 0; k < 3; k++) {
        control[k].x = u.cosine * u.radii.x * points[k].x - u.sine * u.radii.y * points[k].y;
        control[k].y = u.sine * u.radii.x * points[k].x + u.cosine * u.radii.y * points[k].y;
    }
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
    std::optional<UnitArc> u = unitArc(start, end, arc, angle, largeArc, sweep);
    if (!u) {
        out.push_back(start);
        out.push_back(end);
        return;
    }
    double segmentsReal = std::ceil(std::fabs(u->theta / (0.5 * M_PI + MagickEpsilon)));
    std::size_t segments = static_cast<std::size_t>(static_cast<long>(segmentsReal));
    for (std::size_t i = 0; i < segments; i++) {
        ShapePoint control[4];
        control[0] = i == 0 ? start : out.back();
        arcSegmentControls(*u, i, segments, control + 1);
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
