// ImageMagick fills a polygon by asking, for every pixel of its bounding box,
// how far the pixel's centre lies from each nearby segment (the anti-aliased
// edge reaches one pixel out) and, unless that alone covers it, its
// even-odd winding number. Both answers are rebuilt here from the same
// edges with the same arithmetic; what changes is which pixels ask:
// - a pixel farther than a pixel (plus a margin far above rounding) from
//   every segment has no distance share, so its answer is its winding
//   parity, which holds between consecutive edge crossings of its row;
// - every other pixel gets ImageMagick's own distance loop, visiting the
//   same segments, in exact double arithmetic.
// ImageMagick's per-row bookkeeping (the edges it drops once passed, the
// segment it resumes from) only skips work that contributes nothing, so
// each pixel's answer depends on the pixel alone.
#include "render/magick_mirror/shape_raster.h"
#include "render/magick_mirror/mirrored_magick.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <utility>

#include "render/magick_mirror/over_blend.h"
#include "render/magick_mirror/own_pixel_work.h"
#include "render/magick_mirror/shape_outline.h"

namespace {

// Half the default stroke width, under a translation that does not scale.
constexpr double kMid = 0.5;

// The opacity ImageMagick's pixel Over leaves: a colour at opacity alpha
// over a pixel at opacity beta.
Quantum overOpacity(double alpha, double beta) { return overBlend(alpha, beta).opacity; }

// A polygon pixel's opacity: the opaque white fill laid over it at coverage
// f, then the transparent stroke (whatever its coverage) laid over that.
Quantum drawnOpacity(double f, Quantum below) {
    Quantum filled = overOpacity(QuantumRange - f * QuantumRange, below);
    return overOpacity(QuantumRange, filled);
}

// The result of each coverage every mask opacity can meet, worked out once.
struct DrawTables {
    std::vector<Quantum> outside, inside, point;
    bool outsideKeeps = true;   // an uncovered pixel stays as it was
    bool insideUniform = true;  // a covered pixel becomes inside[0] whatever it was
};

const DrawTables& drawTables() {
    static const DrawTables tables = [] {
        DrawTables t;
        t.outside.resize(65536);
        t.inside.resize(65536);
        t.point.resize(65536);
        for (int below = 0; below < 65536; ++below) {
            Quantum b = static_cast<Quantum>(below);
            t.outside[below] = drawnOpacity(0.0, b);
            t.inside[below] = drawnOpacity(1.0, b);
            // A lone point is the fill laid over the pixel, without stroke.
            t.point[below] = overOpacity(0.0, b);
            t.outsideKeeps = t.outsideKeeps && t.outside[below] == b;
            t.insideUniform = t.insideUniform && t.inside[below] == t.inside[0];
        }
        return t;
    }();
    return tables;
}

// A run of points monotonic in y, as ImageMagick keeps it: ordered top to
// bottom, with its box. (Its direction only counts for the non-zero rule.)
struct Edge {
    std::vector<ShapePoint> points;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    // The box's reach with the anti-aliased edge, as ImageMagick compares.
    double top = 0, bottom = 0, left = 0, right = 0;
};

enum class PathCode { MoveTo, Open, Ghostline, LineTo };

struct PathPoint {
    PathCode code;
    ShapePoint point;
};

// The primitive's path: points closer than epsilon to the previous one
// dropped (the last of each sub-path kept), an open sub-path closed by a
// ghost line back to its start.
std::vector<PathPoint> primitivePath(const OutlinePrimitive& primitive) {
    std::vector<PathPoint> path;
    ShapePoint q{-1.0, -1.0};
    for (const OutlineSubpath& subpath : primitive.subpaths) {
        std::size_t start = path.size();
        std::size_t count = subpath.points.size();
        for (std::size_t k = 0; k < count; ++k) {
            const ShapePoint& point = subpath.points[k];
            PathCode code = k == 0 ? PathCode::MoveTo : PathCode::LineTo;
            if (code == PathCode::MoveTo || k + 1 >= count ||
                std::fabs(q.x - point.x) >= MagickEpsilon ||
                std::fabs(q.y - point.y) >= MagickEpsilon) {
                path.push_back({code, point});
                q = point;
            }
        }
        if (subpath.closed || count == 0) continue;
        path[start].code = PathCode::Open;
        path.push_back({PathCode::Ghostline, subpath.points.back()});
        path.push_back({PathCode::LineTo, subpath.points.front()});
    }
    return path;
}

// The path cut into edges wherever it turns between up and down. ImageMagick
// sorts them to skip work row by row; here a pixel's answer is a maximum
// and a parity over the edges, which their order does not change.
std::vector<Edge> pathEdges(const std::vector<PathPoint>& path) {
    std::vector<Edge> edges;
    std::vector<ShapePoint> points;
    bool started = false;
    long direction = 0;
    ShapePoint point{0.0, 0.0};
    double boundsX1 = 0.0, boundsX2 = 0.0;
    auto emit = [&] {
        Edge edge;
        edge.points = points;
        if (direction < 0) std::reverse(edge.points.begin(), edge.points.end());
        edge.x1 = boundsX1;
        edge.x2 = boundsX2;
        edge.y1 = edge.points.front().y;
        edge.y2 = edge.points.back().y;
        edges.push_back(std::move(edge));
    };
    auto restart = [&](const ShapePoint& from) {
        points.assign(1, from);
        boundsX1 = from.x;
        boundsX2 = from.x;
    };
    for (const PathPoint& entry : path) {
        if (entry.code != PathCode::LineTo) {
            if (started && points.size() >= 2) emit();
            started = true;
            point = entry.point;
            restart(point);
            direction = 0;
            continue;
        }
        long next =
            (entry.point.y > point.y ||
             (std::fabs(entry.point.y - point.y) < MagickEpsilon && entry.point.x > point.x))
                ? 1
                : -1;
        if (started && direction != 0 && direction != next) {
            point = points.back();
            emit();
            restart(point);
        }
        direction = next;
        if (!started) continue;
        point = entry.point;
        points.push_back(point);
        if (point.x < boundsX1) boundsX1 = point.x;
        if (point.x > boundsX2) boundsX2 = point.x;
    }
    if (started && points.size() >= 2) emit();
    for (Edge& e : edges) {
        e.top = e.y1 - kMid - 0.5;
        e.bottom = e.y2 + kMid + 0.5;
        e.left = e.x1 - kMid - 0.5;
        e.right = e.x2 + kMid + 0.5;
    }
    return edges;
}

// The squared distance ImageMagick measures from (x, y) to the segment q0-q1.
double segmentDistance(const ShapePoint& q0, const ShapePoint& q1, double x, double y) {
    double dx = q1.x - q0.x, dy = q1.y - q0.y;
    double beta = dx * (x - q0.x) + dy * (y - q0.y);
    if (beta <= 0.0) {
        double ex = x - q0.x, ey = y - q0.y;
        return ex * ex + ey * ey;
    }
    double alpha = dx * dx + dy * dy;
    if (beta >= alpha) {
        double ex = x - q1.x, ey = y - q1.y;
        return ex * ex + ey * ey;
    }
    alpha = PerceptibleReciprocal(alpha);
    beta = dx * (y - q0.y) - dy * (x - q0.x);
    return alpha * beta * beta;
}

// Raises coverage by a segment at squared distance d, as the fill's edge.
void addDistance(double& coverage, double d) {
    if (d > 1.0 || coverage >= 1.0) return;
    if (d <= 0.0) {
        coverage = 1.0;
        return;
    }
    double beta = 1.0;
    if (std::fabs(d - 1.0) >= MagickEpsilon) beta = std::sqrt(d);
    double alpha = beta - 1.0;
    if (coverage < alpha * alpha) coverage = alpha * alpha;
}

struct PixelRange {
    long from, to;  // inclusive
};

// A range of pixels on a row.
using RowRange = std::pair<long, PixelRange>;

// How much further than a pixel a segment with this squared length may
// reach: a margin far above rounding, more for a segment shorter than a
// millionth, whose perpendicular distances ImageMagick shrinks (the
// reciprocal of its squared length stops at 1e12).
double nearMargin(double squaredLength) {
    double margin = 1e-6;
    if (squaredLength > 0.0 && squaredLength < 1e-12) margin += 2e-6 / std::sqrt(squaredLength);
    return std::min(margin, 1e6);
}

// One polygon primitive drawn over the mask.
class PolygonDraw {
public:
    PolygonDraw(std::vector<Edge> edges, int columns, int rows, Quantum* mask)
        : edges_(std::move(edges)), columns_(columns), rows_(rows), mask_(mask),
          tables_(drawTables()) {}

    void draw() {
        if (!bounds()) return;
        collectNearRanges();
        nearFrom_.assign(edges_.size(), 1);
        windAt_.assign(edges_.size(), 1);
        for (long y = startY_; y <= stopY_; ++y) drawRow(y);
    }

private:
    // The rows and columns ImageMagick visits: the edges' box with a pixel
    // and a half around, inside the mask.
    bool bounds() {
        double x1 = edges_[0].x1, y1 = edges_[0].y1, x2 = edges_[0].x2, y2 = edges_[0].y2;
        for (std::size_t i = 1; i < edges_.size(); ++i) {
            const Edge& e = edges_[i];
            if (e.x1 < x1) x1 = e.x1;
            if (e.y1 < y1) y1 = e.y1;
            if (e.x2 > x2) x2 = e.x2;
            if (e.y2 > y2) y2 = e.y2;
        }
        x1 -= (kMid + 1.0);
        y1 -= (kMid + 1.0);
        x2 += (kMid + 1.0);
        y2 += (kMid + 1.0);
        double columns = columns_, rows = rows_;
        if (x1 >= columns || y1 >= rows || x2 <= 0.0 || y2 <= 0.0) return false;
        auto clampTo = [](double v, double last) { return v < 0.0 ? 0.0 : v >= last ? last : v; };
        x1 = clampTo(x1, columns - 1.0);
        y1 = clampTo(y1, rows - 1.0);
        x2 = clampTo(x2, columns - 1.0);
        y2 = clampTo(y2, rows - 1.0);
        startY_ = static_cast<long>(std::ceil(y1 - 0.5));
        stopY_ = static_cast<long>(std::floor(y2 + 0.5));
        startX_ = static_cast<long>(std::ceil(x1 - 0.5));
        stopX_ = static_cast<long>(std::floor(x2 + 0.5));
        return true;
    }

    // Per row, the pixels that may lie within a pixel of some segment, kept
    // row by row: row r's ranges are near_[nearStart_[r]] up to
    // near_[nearStart_[r + 1]].
    void collectNearRanges() {
        std::vector<RowRange> found;
        for (const Edge& e : edges_)
            for (std::size_t i = 1; i < e.points.size(); ++i)
                addNearRanges(e.points[i - 1], e.points[i], found);
        const long rowCount = stopY_ - startY_ + 1;
        nearStart_.assign(rowCount + 1, 0);
        for (const auto& [row, range] : found) ++nearStart_[row + 1];
        for (long r = 0; r < rowCount; ++r) nearStart_[r + 1] += nearStart_[r];
        near_.resize(found.size());
        std::vector<std::size_t> fill(nearStart_.begin(), nearStart_.end() - 1);
        for (const auto& [row, range] : found) near_[fill[row]++] = range;
    }

    // The pixels segment a-b may lie within a pixel of: its columns over the
    // rows a pixel above and below, widened by a pixel and a margin far above
    // rounding, added to found row by row (rows counted from startY_).
    void addNearRanges(const ShapePoint& a, const ShapePoint& b,
                       std::vector<RowRange>& found) const {
        double dx = b.x - a.x, dy = b.y - a.y;
        double reach = 1.0 + nearMargin(dx * dx + dy * dy);
        double ylo = std::min(a.y, b.y), yhi = std::max(a.y, b.y);
        double xlo = std::min(a.x, b.x), xhi = std::max(a.x, b.x);
        long r0 = static_cast<long>(std::max(std::ceil(ylo - reach), double(startY_)));
        long r1 = static_cast<long>(std::min(std::floor(yhi + reach), double(stopY_)));
        for (long row = r0; row <= r1; ++row) {
            // The segment's columns where it passes within reach of the row.
            double b0 = std::max(ylo, row - reach), b1 = std::min(yhi, row + reach);
            double lo = xlo, hi = xhi;
            if (dy != 0.0 && b0 <= b1) {
                double slope = dx / dy;
                double u = a.x + (b0 - a.y) * slope, v = a.x + (b1 - a.y) * slope;
                lo = std::max(xlo, std::min(u, v));
                hi = std::min(xhi, std::max(u, v));
            }
            double from = std::max(std::ceil(lo - reach), double(startX_));
            double to = std::min(std::floor(hi + reach), double(stopX_));
            if (from <= to) found.push_back({row - startY_, {long(from), long(to)}});
        }
    }

    // The row's near pixels as sorted, disjoint ranges.
    void nearRanges(long y, std::vector<PixelRange>& merged) {
        std::size_t r = static_cast<std::size_t>(y - startY_);
        auto first = near_.begin() + static_cast<long>(nearStart_[r]);
        auto last = near_.begin() + static_cast<long>(nearStart_[r + 1]);
        std::sort(first, last,
                  [](const PixelRange& a, const PixelRange& b) { return a.from < b.from; });
        merged.clear();
        for (const PixelRange& range : std::span(first, last)) {
            if (!merged.empty() && range.from <= merged.back().to + 1)
                merged.back().to = std::max(merged.back().to, range.to);
            else
                merged.push_back(range);
        }
    }

    // Where the row's even-odd parity flips: each edge spanning the row
    // counts for the pixels right of its crossing, found from ImageMagick's
    // side test, which is monotonic along the row.
    void parityFlips(double y, std::vector<long>& flips) const {
        flips.clear();
        for (std::size_t k = 0; k < edges_.size(); ++k) {
            const Edge& e = edges_[k];
            if (y <= e.y1 || y > e.y2) continue;
            const ShapePoint& q0 = e.points[windAt_[k] - 1];
            const ShapePoint& q1 = e.points[windAt_[k]];
            double lhs = (q1.x - q0.x) * (y - q0.y);
            double dy = q1.y - q0.y;
            auto counts = [&](long x) { return lhs <= dy * (static_cast<double>(x) - q0.x); };
            long xa = static_cast<long>(std::floor(e.x1)) + 1;  // first x beyond x1
            long xb = static_cast<long>(std::floor(e.x2));      // last x not beyond x2
            flips.push_back(xb + 1);
            if (xa > xb) continue;
            if (dy > 0.0) {
                // Counted from some column on.
                double crossing = q0.x + lhs / dy;
                long c =
                    static_cast<long>(std::ceil(std::clamp(crossing, double(xa), double(xb + 1))));
                while (c > xa && counts(c - 1)) --c;
                while (c <= xb && !counts(c)) ++c;
                flips.push_back(c);
                flips.push_back(xb + 1);
            } else if (dy < 0.0) {
                // Counted up to some column.
                double crossing = q0.x + lhs / dy;
                long t =
                    static_cast<long>(std::floor(std::clamp(crossing, double(xa - 1), double(xb))));
                while (t < xb && counts(t + 1)) ++t;
                while (t >= xa && !counts(t)) --t;
                flips.push_back(xa);
                flips.push_back(t + 1);
            } else if (counts(xa)) {
                // Level: all of the box or none of it.
                flips.push_back(xa);
                flips.push_back(xb + 1);
            }
        }
        std::sort(flips.begin(), flips.end());
    }

    // Each edge's first segment that can reach this row, and the segment the
    // winding test uses; both only move down as the rows do.
    void advanceSegments(double y) {
        for (std::size_t k = 0; k < edges_.size(); ++k) {
            const std::vector<ShapePoint>& p = edges_[k].points;
            std::size_t& i = nearFrom_[k];
            while (i < p.size() && y > p[i].y + kMid + 0.5) ++i;
            std::size_t& w = windAt_[k];
            while (w < p.size() - 1 && !(y <= p[w].y)) ++w;
        }
    }

    // The distance coverage of an edge's segments within reach of the pixel.
    void addEdge(double& coverage, std::size_t k, double x, double y) const {
        const std::vector<ShapePoint>& p = edges_[k].points;
        for (std::size_t i = nearFrom_[k]; i < p.size(); ++i) {
            if (y <= p[i - 1].y - kMid - 0.5) break;
            if (y > p[i].y + kMid + 0.5) continue;
            addDistance(coverage, segmentDistance(p[i - 1], p[i], x, y));
        }
    }

    double coverageAt(const std::vector<std::size_t>& active, double x, double y) const {
        double coverage = 0.0;
        for (std::size_t k : active) {
            const Edge& e = edges_[k];
            if (x <= e.left || x > e.right) continue;
            addEdge(coverage, k, x, y);
            if (coverage >= 1.0) break;
        }
        return coverage;
    }

    void put(Quantum* row, long x, double coverage, bool inside) {
        Quantum& m = row[x];
        if (coverage >= 1.0 || inside)
            m = tables_.inside[m];
        else if (coverage == 0.0)
            m = tables_.outside[m];
        else
            m = drawnOpacity(coverage, m);
    }

    void fillSpan(Quantum* row, long from, long to, bool inside) {
        if (inside) {
            if (tables_.insideUniform) {
                std::fill(row + from, row + to + 1, tables_.inside[0]);
                return;
            }
            for (long x = from; x <= to; ++x) row[x] = tables_.inside[row[x]];
        } else if (!tables_.outsideKeeps) {
            for (long x = from; x <= to; ++x) row[x] = tables_.outside[row[x]];
        }
    }

    void drawRow(long y) {
        const double yy = static_cast<double>(y);
        Quantum* row = mask_ + static_cast<std::size_t>(y) * static_cast<std::size_t>(columns_);
        advanceSegments(yy);
        std::vector<long>& flips = flips_;
        parityFlips(yy, flips);
        std::vector<std::size_t>& active = active_;
        active.clear();
        for (std::size_t k = 0; k < edges_.size(); ++k) {
            const Edge& e = edges_[k];
            if (yy > e.top && yy <= e.bottom) active.push_back(k);
        }
        std::vector<PixelRange>& near = nearRow_;
        nearRanges(y, near);
        long x = startX_;
        std::size_t flip = std::upper_bound(flips.begin(), flips.end(), x - 1) - flips.begin();
        bool inside = flip % 2 == 1;
        std::size_t n = 0;
        while (x <= stopX_) {
            while (flip < flips.size() && flips[flip] <= x) {
                inside = !inside;
                ++flip;
            }
            while (n < near.size() && near[n].to < x) ++n;
            if (n < near.size() && near[n].from <= x) {
                // Within reach of an edge: the exact coverage, pixel by pixel.
                for (long end = std::min(near[n].to, stopX_); x <= end; ++x) {
                    while (flip < flips.size() && flips[flip] <= x) {
                        inside = !inside;
                        ++flip;
                    }
                    put(row, x, coverageAt(active, static_cast<double>(x), yy), inside);
                }
                continue;
            }
            long end = stopX_;
            if (flip < flips.size()) end = std::min(end, flips[flip] - 1);
            if (n < near.size()) end = std::min(end, near[n].from - 1);
            fillSpan(row, x, end, inside);
            x = end + 1;
        }
    }

    std::vector<Edge> edges_;
    int columns_, rows_;
    Quantum* mask_;
    const DrawTables& tables_;
    long startX_ = 0, stopX_ = -1, startY_ = 0, stopY_ = -1;
    std::vector<std::size_t> nearFrom_, windAt_;
    std::vector<std::size_t> nearStart_;
    std::vector<PixelRange> near_;
    // The current row's flips, edges within reach and near pixels.
    std::vector<long> flips_;
    std::vector<std::size_t> active_;
    std::vector<PixelRange> nearRow_;
};

void drawPoint(const ShapePoint& point, int columns, int rows, Quantum* mask) {
    long x = static_cast<long>(std::ceil(point.x - 0.5));
    long y = static_cast<long>(std::ceil(point.y - 0.5));
    if (y < 0 || y >= rows || x < 0 || x >= columns) return;
    Quantum& m = mask[static_cast<std::size_t>(y) * static_cast<std::size_t>(columns) +
                      static_cast<std::size_t>(x)];
    m = drawTables().point[m];
}

} // namespace

std::optional<ShapeMask> shapeMaskOpacity(const Shape& shape, int x, int y, int width, int height) {
    if (!ownPixelWork || width < 1 || height < 1) return std::nullopt;
    std::optional<std::vector<OutlinePrimitive>> primitives =
        traceShape(shape, -static_cast<double>(x), -static_cast<double>(y));
    if (!primitives) return std::nullopt;
    ShapeMask mask(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), QuantumRange);
    for (const OutlinePrimitive& primitive : *primitives) {
        if (primitive.isPoint) {
            drawPoint(primitive.point, width, height, mask.data());
            continue;
        }
        // A first sub-path of one point draws nothing.
        if (primitive.subpaths.empty() || primitive.subpaths.front().points.size() <= 1) continue;
        std::vector<Edge> edges = pathEdges(primitivePath(primitive));
        // ImageMagick would draw a lone pixel or fail here: not reproduced.
        if (edges.empty()) return std::nullopt;
        PolygonDraw(std::move(edges), width, height, mask.data()).draw();
    }
    return mask;
}
