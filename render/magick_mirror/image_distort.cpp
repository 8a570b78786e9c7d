// The flip's perspective distortion and the turn's rotation. ImageMagick maps
// every destination pixel back into the source and averages the source pixels
// under an ellipse there, with a filter's weights (its elliptical weighted
// average), asking its pixel cache for each scanline of each ellipse. This
// does the same arithmetic in the same order, so the pixels are the same to
// the last bit, but reads the source's rows in place and keeps per-image work
// out of the pixel loop. What it does not cover is left to ImageMagick.
#include "render/magick_mirror/image_distort.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "render/magick_mirror/mirrored_magick.h"
#include "render/magick_mirror/own_pixel_work.h"
#include "render/magick_mirror/pixel_work_fault.h"
#include "render/wand_ptr.h"

namespace {

// Entries of the weight table: the ellipse is scaled so that its edge is
// this quotient.
constexpr int kWeightCount = 1024;

// ImageMagick's cast of a coordinate to a pixel index: truncation, NaN as 0,
// clamped to the type.
ssize_t toIndex(double x) {
    if (std::isnan(x)) return 0;
    double value = x < 0.0 ? std::ceil(x) : std::floor(x);
    if (value < static_cast<double>(std::numeric_limits<ssize_t>::min()))
        return std::numeric_limits<ssize_t>::min();
    if (value >= static_cast<double>(std::numeric_limits<ssize_t>::max()))
        return std::numeric_limits<ssize_t>::max();
    return static_cast<ssize_t>(value);
}

// The same for a size: negative sizes are 0.
std::size_t toSize(double x) {
    if (std::isnan(x)) return 0;
    double value = x < 0.0 ? std::ceil(x) : std::floor(x);
    if (value < 0.0) return 0;
    if (value >= static_cast<double>(std::numeric_limits<std::size_t>::max()))
        return std::numeric_limits<std::size_t>::max();
    return static_cast<std::size_t>(value);
}

// The cylindrical filter's weights by squared distance, tabulated as the
// resampling does; none for the point filter, which interpolates instead.
struct WeightTable {
    double support = 0;
    double weights[kWeightCount] = {};
};

bool loadWeights(const Image* image, WeightTable& table, ExceptionInfo* exception) {
    FilterTypes filter = image->filter == UndefinedFilter ? RobidouxFilter : image->filter;
    if (filter == PointFilter) return false;
    ResizeFilter* resize = AcquireResizeFilter(image, filter, image->blur, MagickTrue, exception);
    if (!resize) return false;
    table.support = GetResizeFilterSupport(resize);
    double radiusScale = table.support * std::sqrt(1.0 / static_cast<double>(kWeightCount));
    for (int q = 0; q < kWeightCount; ++q)
        table.weights[q] =
            GetResizeFilterWeight(resize, std::sqrt(static_cast<double>(q)) * radiusScale);
    DestroyResizeFilter(resize);
    return true;
}

// The area one destination pixel averages, around its point in the source:
// A u^2 + B u v + C v^2 < kWeightCount, the ellipse's extent (uLimit,
// vLimit) and the parallelogram its scanlines cover (uWidth, slope).
struct Ellipse {
    double A = 0, B = 0, C = 0;
    double uLimit = 0, vLimit = 0, uWidth = 0, slope = 0;
    bool limitReached = false;
};

// Two doubles worked on together; each lane keeps its own sequence of
// operations, so pairing changes no result.
using Pair = double __attribute__((vector_size(16)));

inline double root(double x) { return std::sqrt(x); }
inline Pair root(Pair x) {
#ifdef __SSE2__
    return __builtin_ia32_sqrtpd(x);
#else
    return Pair{std::sqrt(x[0]), std::sqrt(x[1])};
#endif
}
template <class Real>
Real constant(double value) {
    return Real{} + value;
}

// The ellipse's shape for one pixel (double) or two (Pair).
template <class Real>
struct Shape {
    Real A, B, C, uLimit, vLimit, uWidth, slope;
    decltype(Real{} < Real{}) limitReached;
};

// The ellipse for the mapping's partial derivatives du/dx, du/dy, dv/dx and
// dv/dy: the image of the unit circle, its axes clamped up to a pixel (a
// singular value decomposition through the normal matrix), then scaled by
// the filter's support. An ellipse too large to average is only flagged:
// it reads one pixel instead.
template <class Real>
Shape<Real> ellipseShape(Real dux, Real duy, Real dvx, Real dvy, double support, double area) {
    const Real zero = constant<Real>(0.0), one = constant<Real>(1.0);
    const Real a = dux, b = duy, c = dvx, d = dvy;
    const Real aa = a * a, bb = b * b, cc = c * c, dd = d * d;
    const Real n11 = aa + bb;
    const Real n12 = a * c + b * d;
    const Real n21 = n12;
    const Real n22 = cc + dd;
    const Real det = a * d - b * c;
    const Real twiceDet = det + det;
    const Real frobeniusSquared = n11 + n22;
    const Real discriminant = (frobeniusSquared + twiceDet) * (frobeniusSquared - twiceDet);
    const Real sqrtDiscriminant = root(discriminant > zero ? discriminant : zero);
    const Real s1s1 = 0.5 * (frobeniusSquared + sqrtDiscriminant);
    const Real s2s2 = 0.5 * (frobeniusSquared - sqrtDiscriminant);
    const Real s1s1MinusN11 = s1s1 - n11;
    const Real s1s1MinusN22 = s1s1 - n22;
    const Real s1s1MinusN11Squared = s1s1MinusN11 * s1s1MinusN11;
    const Real s1s1MinusN22Squared = s1s1MinusN22 * s1s1MinusN22;
    const auto firstRow = s1s1MinusN11Squared >= s1s1MinusN22Squared;
    const Real tempU11 = firstRow ? n12 : s1s1MinusN22;
    const Real tempU21 = firstRow ? s1s1MinusN11 : n21;
    const Real norm = root(tempU11 * tempU11 + tempU21 * tempU21);
    const Real u11 = norm > zero ? tempU11 / norm : one;
    const Real u21 = norm > zero ? tempU21 / norm : zero;
    const Real majorMag = s1s1 <= one ? one : root(s1s1);
    const Real minorMag = s2s2 <= one ? one : root(s2s2);
    const Real majorX = u11 * majorMag, majorY = u21 * majorMag;
    const Real minorX = -u21 * minorMag, minorY = u11 * minorMag;

    Shape<Real> e;
    Real A = majorY * majorY + minorY * minorY;
    Real B = -2.0 * (majorX * majorY + minorX * minorY);
    Real C = majorX * majorX + minorX * minorX;
    Real F = majorMag * minorMag;
    F *= F;
    auto unbounded = (4.0 * A * C - B * B) > constant<Real>(MagickMaximumValue);
    F *= support;
    F *= support;
    e.uLimit = root(C * F / (A * C - 0.25 * B * B));
    e.vLimit = root(A * F / (A * C - 0.25 * B * B));
    e.uWidth = root(F / A);
    e.slope = -B / (2.0 * A);
    auto tooLarge = (e.uWidth * e.vLimit) > constant<Real>(4.0 * area);
    e.limitReached = unbounded | tooLarge;
    // PerceptibleReciprocal(F)
    Real sign = F < zero ? constant<Real>(-1.0) : one;
    Real reciprocal = (sign * F) >= constant<Real>(MagickEpsilon) ? one / F : sign / MagickEpsilon;
    Real scale = static_cast<double>(kWeightCount) * reciprocal;
    e.A = A * scale;
    e.B = B * scale;
    e.C = C * scale;
    return e;
}

void setEllipse(Ellipse& e, const Shape<double>& shape) {
    e = {shape.A, shape.B, shape.C, shape.uLimit, shape.vLimit, shape.uWidth, shape.slope,
         shape.limitReached};
}
void setEllipse(Ellipse& e, const Shape<Pair>& shape, int lane) {
    e = {shape.A[lane],      shape.B[lane],      shape.C[lane],     shape.uLimit[lane],
         shape.vLimit[lane], shape.uWidth[lane], shape.slope[lane], shape.limitReached[lane] != 0};
}

// The source, read in place, and the pixel every position outside it reads
// as (its virtual pixel).
struct Source {
    const Image* image = nullptr;
    const PixelPacket* pixels = nullptr;
    ssize_t columns = 0, rows = 0;
    PixelPacket outside{};
    CacheView* interpolation = nullptr;  // for ImageMagick's own interpolation
    bool opaque = false;                 // every pixel's opacity 0

    const PixelPacket& at(ssize_t x, ssize_t y) const {
        if (x < 0 || y < 0 || x >= columns || y >= rows) return outside;
        return pixels[y * columns + x];
    }
};

using Wide = int __attribute__((vector_size(16)));
using Packed = unsigned short __attribute__((vector_size(8)));

static_assert(MAGICK_PIXEL_BGRA && sizeof(PixelPacket) == 8, "blue, green, red, opacity");

// A pixel's (blue, green) and (red, opacity) as doubles.
struct PixelPairs {
    Pair blueGreen, redOpacity;
};
inline PixelPairs pairsOf(const PixelPacket& pixel) {
    Packed packed;
    std::memcpy(&packed, &pixel, sizeof packed);
    Wide wide = __builtin_convertvector(packed, Wide);
    return {__builtin_convertvector(__builtin_shufflevector(wide, wide, 0, 1), Pair),
            __builtin_convertvector(__builtin_shufflevector(wide, wide, 2, 3), Pair)};
}

// The weighted sums of one ellipse, colours weighted by alpha as well:
// (blue, green), (red, opacity) and (colour divisor, alpha divisor).
struct Sums {
    Pair blueGreen{0, 0}, redOpacity{0, 0}, divisors{0, 0};
    bool hit = false;
    bool lost = false;  // a quotient at or below -1, which has no weight entry
};

// The alpha factor of a pixel: 1 for an opaque one, 0 for a transparent one.
inline double alphaFactor(Quantum opacity) {
    return QuantumScale * static_cast<MagickRealType>(QuantumRange - opacity);
}

// Adds count pixels of one scanline of the parallelogram while their
// quotient Q lies inside the ellipse; returns how many. Q is advanced by
// differences exactly as ImageMagick advances it, so the same pixels fall
// inside. Each pixel's weight w adds w * opacity to the opacity and w to the
// alpha divisor, and w times its alpha factor to the colours and the colour
// divisor. For an opaque pixel that factor is exactly 1 (checked once), so
// the same sums take w itself.
enum class Pixels { Same, Opaque, Any };
template <Pixels kind>
inline ssize_t addRun(Sums& total, const double* weights, const PixelPacket* p, ssize_t count,
                      double& quotient, double& difference, double ddQ) {
    // Kept in registers: the sums live in memory the weights might alias.
    Pair blueGreen = total.blueGreen, redOpacity = total.redOpacity, divisors = total.divisors;
    double Q = quotient, dQ = difference;
    PixelPairs same{};
    double sameFactor = 0;
    if constexpr (kind == Pixels::Same) {
        same = pairsOf(*p);
        sameFactor = alphaFactor(p->opacity);
    }
    ssize_t k = 0;
    for (; k < count && Q < static_cast<double>(kWeightCount) && Q > -1.0; ++k) {
        double weight = weights[static_cast<long>(Q)];
        if constexpr (kind == Pixels::Opaque) {
            PixelPairs pixel = pairsOf(p[k]);
            Pair both{weight, weight};
            blueGreen += both * pixel.blueGreen;
            redOpacity += both * pixel.redOpacity;
            divisors += both;
        } else {
            const PixelPairs pixel = kind == Pixels::Same ? same : pairsOf(p[k]);
            double factor = kind == Pixels::Same ? sameFactor : alphaFactor(p[k].opacity);
            double alphaWeight = weight * factor;
            blueGreen += Pair{alphaWeight, alphaWeight} * pixel.blueGreen;
            redOpacity += Pair{alphaWeight, weight} * pixel.redOpacity;
            divisors += Pair{alphaWeight, weight};
        }
        Q += dQ;
        dQ += ddQ;
    }
    total.blueGreen = blueGreen;
    total.redOpacity = redOpacity;
    total.divisors = divisors;
    total.hit |= k > 0;
    total.lost |= k < count && !(Q >= static_cast<double>(kWeightCount));
    quotient = Q;
    difference = dQ;
    return k;
}

// ceil(x) and floor(x) as indices, without a library call for the usual
// coordinates.
inline ssize_t ceilIndex(double x) {
    if (!(std::fabs(x) < 4503599627370496.0)) return toIndex(std::ceil(x));
    ssize_t t = static_cast<ssize_t>(x);
    return static_cast<double>(t) < x ? t + 1 : t;
}
inline ssize_t floorIndex(double x) {
    if (!(std::fabs(x) < 4503599627370496.0)) return toIndex(std::floor(x));
    ssize_t t = static_cast<ssize_t>(x);
    return static_cast<double>(t) > x ? t - 1 : t;
}

PixelPacket interpolated(const Source& source, double u0, double v0, ExceptionInfo* exception) {
    MagickPixelPacket pixel;
    InterpolateMagickPixelPacket(source.image, source.interpolation, source.image->interpolate,
                                 u0, v0, &pixel, exception);
    PixelPacket out{};
    out.red = ClampToQuantum(pixel.red);
    out.green = ClampToQuantum(pixel.green);
    out.blue = ClampToQuantum(pixel.blue);
    out.opacity = ClampToQuantum(pixel.opacity);
    return out;
}

// Whether the ellipse about (u0, v0) lies wholly outside the source (or is
// too large to average).
bool outsideSource(const Source& source, const Ellipse& e, double u0, double v0) {
    return e.limitReached || u0 + e.uLimit < 0.0 ||
           u0 - e.uLimit > static_cast<double>(source.columns) - 1.0 || v0 + e.vLimit < 0.0 ||
           v0 - e.vLimit > static_cast<double>(source.rows) - 1.0;
}

// Adds the pixels of scanline v inside the ellipse about (u0, v0): uw
// pixels from column u on, through the columns left of the source, in it
// and right of it. Q only falls and then rises along a scanline (its
// differences only grow by ddQ >= 0), so the pixels inside are one run.
inline void addScanline(Sums& sums, const Source& source, const double* weights,
                        const Ellipse& e, double u0, double v0, ssize_t u, ssize_t v,
                        ssize_t uw) {
    const double ddQ = 2.0 * e.A;
    double U = static_cast<double>(u) - u0;
    double V = static_cast<double>(v) - v0;
    double Q = (e.A * U + e.B * V) * U + e.C * V * V;
    double dQ = e.A * (2.0 * U + 1) + e.B * V;
    ssize_t k = 0;
    for (; k < uw && !(Q < static_cast<double>(kWeightCount)); ++k) {
        Q += dQ;
        dQ += ddQ;
    }
    ssize_t first = uw, last = uw;
    if (v >= 0 && v < source.rows) {
        first = std::min(std::max(-u, ssize_t(0)), uw);
        last = std::min(std::max(source.columns - u, ssize_t(0)), uw);
    }
    if (k < first) {
        k += addRun<Pixels::Same>(sums, weights, &source.outside, first - k, Q, dQ, ddQ);
        if (k < first) return;
    }
    if (k < last) {
        const PixelPacket* row = source.pixels + v * source.columns + u + k;
        k += source.opaque ? addRun<Pixels::Opaque>(sums, weights, row, last - k, Q, dQ, ddQ)
                           : addRun<Pixels::Any>(sums, weights, row, last - k, Q, dQ, ddQ);
        if (k < last) return;
    }
    if (k < uw) addRun<Pixels::Same>(sums, weights, &source.outside, uw - k, Q, dQ, ddQ);
}

// The weighted sums of the source's pixels under the ellipse about (u0, v0),
// scanline by scanline across its parallelogram.
inline Sums ellipseSums(const Source& source, const WeightTable& table, const Ellipse& e,
                        double u0, double v0) {
    Sums sums;
    ssize_t v1 = ceilIndex(v0 - e.vLimit);
    ssize_t v2 = floorIndex(v0 + e.vLimit);
    double u1 = u0 + (static_cast<double>(v1) - v0) * e.slope - e.uWidth;
    ssize_t uw = static_cast<ssize_t>(2.0 * e.uWidth) + 1;
    for (ssize_t v = v1; v <= v2; ++v) {
        ssize_t u = ceilIndex(u1);
        u1 += e.slope;
        addScanline(sums, source, table.weights, e, u0, v0, u, v, uw);
    }
    return sums;
}

// The colour of weighted sums that have something to divide by.
PixelPacket sumsColour(const Sums& sums) {
    PixelPacket out{};
    double alphaScale = 1.0 / sums.divisors[1];
    out.opacity = ClampToQuantum(alphaScale * sums.redOpacity[1]);
    double colourScale = 1.0 / sums.divisors[0];
    out.red = ClampToQuantum(colourScale * sums.redOpacity[0]);
    out.green = ClampToQuantum(colourScale * sums.blueGreen[1]);
    out.blue = ClampToQuantum(colourScale * sums.blueGreen[0]);
    return out;
}

// The source's colour at (u0, v0) averaged over the ellipse, into out. An
// ellipse wholly outside the source reads the virtual pixel under (u0, v0)
// instead, and an average with nothing to divide by falls back to
// interpolation, as ImageMagick's resampling does. False where its table
// lookup would go astray.
bool average(const Source& source, const WeightTable& table, const Ellipse& e, double u0,
             double v0, PixelPacket& out, ExceptionInfo* exception) {
    if (outsideSource(source, e, u0, v0)) {
        out = source.at(floorIndex(u0), floorIndex(v0));
        return true;
    }
    // Each scanline's pixels are one run only while Q's differences grow.
    if (!(2.0 * e.A >= 0.0)) return false;
    Sums sums = ellipseSums(source, table, e, u0, v0);
    if (sums.lost) return false;
    double colourDivisor = sums.divisors[0], alphaDivisor = sums.divisors[1];
    if (!sums.hit || alphaDivisor <= MagickEpsilon || colourDivisor <= MagickEpsilon) {
        out = interpolated(source, u0, v0, exception);
        return true;
    }
    out = sumsColour(sums);
    return true;
}

// Destination to source: an affine map (c0..c5) or a perspective one, a
// ratio of affine maps (c0..c7) whose denominator's sign on the picture's
// side of the horizon is c8.
struct Mapping {
    bool perspective = false;
    double c[9] = {};
};

// Perspective coefficients from (source x, y, destination x, y) quadruples
// by least squares, as ImageMagick solves them.
bool perspectiveMapping(const double* points, Mapping& map) {
    map.perspective = true;
    double* coefficients = map.c;
    double* vectors[1] = {coefficients};
    double** matrix = AcquireMagickMatrix(8, 8);
    if (!matrix) return false;
    for (int i = 0; i < 16; i += 4) {
        const double u = points[i], v = points[i + 1], x = points[i + 2], y = points[i + 3];
        double terms[8] = {x, y, 1.0, 0.0, 0.0, 0.0, -x * u, -y * u};
        LeastSquaresAddTerms(matrix, vectors, terms, &points[i], 8, 1);
        double second[8] = {0.0, 0.0, 0.0, x, y, 1.0, -x * v, -y * v};
        LeastSquaresAddTerms(matrix, vectors, second, &points[i + 1], 8, 1);
    }
    bool solved = GaussJordanElimination(matrix, vectors, 8, 1) != MagickFalse;
    RelinquishMagickMatrix(matrix, 8);
    if (!solved) return false;
    // The first destination point lies on the picture's side.
    double side = coefficients[6] * points[2] + coefficients[7] * points[3] + 1.0;
    coefficients[8] = side < 0.0 ? -1.0 : +1.0;
    return true;
}

// The rotation by degrees about the image's centre (a scale-rotate-translate
// with one argument) as an affine map.
Mapping rotationMapping(const Image* image, double degrees) {
    Mapping map;
    double x = static_cast<double>(image->columns) / 2.0 + static_cast<double>(image->page.x);
    double y = static_cast<double>(image->rows) / 2.0 + static_cast<double>(image->page.y);
    double nx = x, ny = y, sx = 1.0, sy = 1.0;
    double a = degreesToRadians(degrees);
    double cosine = std::cos(a), sine = std::sin(a);
    map.c[0] = cosine / sx;
    map.c[1] = sine / sx;
    map.c[2] = x - nx * map.c[0] - ny * map.c[1];
    map.c[3] = (-sine) / sy;
    map.c[4] = cosine / sy;
    map.c[5] = y - nx * map.c[3] - ny * map.c[4];
    return map;
}

// Where source point (x, y) lands in the destination.
void forward(const Mapping& map, double x, double y, double& dx, double& dy) {
    const double* c = map.c;
    if (map.perspective) {
        double determinant = PerceptibleReciprocal(c[0] * c[4] - c[3] * c[1]);
        double inverse[8] = {
            determinant * (c[4] - c[7] * c[5]), determinant * (c[7] * c[2] - c[1]),
            determinant * (c[1] * c[5] - c[4] * c[2]), determinant * (c[6] * c[5] - c[3]),
            determinant * (c[0] - c[6] * c[2]), determinant * (c[3] * c[2] - c[0] * c[5]),
            determinant * (c[3] * c[7] - c[6] * c[4]), determinant * (c[6] * c[1] - c[0] * c[7])};
        double scale = inverse[6] * x + inverse[7] * y + 1.0;
        scale = PerceptibleReciprocal(scale);
        dx = scale * (inverse[0] * x + inverse[1] * y + inverse[2]);
        dy = scale * (inverse[3] * x + inverse[4] * y + inverse[5]);
        return;
    }
    double determinant = PerceptibleReciprocal(c[0] * c[4] - c[1] * c[3]);
    double inverse[6] = {determinant * c[4], determinant * (-c[1]),
                         determinant * (c[1] * c[5] - c[2] * c[4]), determinant * (-c[3]),
                         determinant * c[0], determinant * (c[2] * c[3] - c[0] * c[5])};
    dx = inverse[0] * x + inverse[1] * y + inverse[2];
    dy = inverse[3] * x + inverse[4] * y + inverse[5];
}

// The best-fit destination: the box of the source's mapped corners, half a
// pixel larger all round.
RectangleInfo bestFit(const Image* image, const Mapping& map) {
    double left = static_cast<double>(image->page.x);
    double top = static_cast<double>(image->page.y);
    double right = left + static_cast<double>(image->columns);
    double bottom = top + static_cast<double>(image->rows);
    const double corners[4][2] = {{left, top}, {right, top}, {left, bottom}, {right, bottom}};
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    for (int i = 0; i < 4; ++i) {
        double x = 0, y = 0;
        forward(map, corners[i][0], corners[i][1], x, y);
        if (i == 0) {
            minX = maxX = x;
            minY = maxY = y;
            continue;
        }
        minX = minX < x ? minX : x;
        maxX = maxX > x ? maxX : x;
        minY = minY < y ? minY : y;
        maxY = maxY > y ? maxY : y;
    }
    RectangleInfo geometry{};
    geometry.x = static_cast<ssize_t>(std::floor(minX - 0.5));
    geometry.y = static_cast<ssize_t>(std::floor(minY - 0.5));
    geometry.width = toSize(std::ceil(maxX - static_cast<double>(geometry.x) + 0.5));
    geometry.height = toSize(std::ceil(maxY - static_cast<double>(geometry.y) + 0.5));
    return geometry;
}

// Where one destination pixel samples the source (pixel centres at whole
// coordinates), how valid the mapping is there (see below) and its partial
// derivatives.
struct Sample {
    double u = 0, v = 0;
    double validity = 1.0;
    double dux = 1, duy = 0, dvx = 0, dvy = 1;
};

// The sample for the destination pixel centred on (dx, dy). A perspective
// has a horizon: beyond it (validity 0) the destination shows the matte
// colour, and within half a pixel of it (validity between 0 and 1) a blend.
inline Sample sampleAt(const Mapping& map, double dx, double dy, const Image* source) {
    const double* c = map.c;
    Sample s;
    s.u = dx;
    s.v = dy;
    if (map.perspective) {
        double p = c[0] * dx + c[1] * dy + c[2];
        double q = c[3] * dx + c[4] * dy + c[5];
        double r = c[6] * dx + c[7] * dy + 1.0;
        s.validity = (r * c[8] < 0.0) ? 0.0 : 1.0;
        double absR = std::fabs(r) * 2;
        double absC6 = std::fabs(c[6]), absC7 = std::fabs(c[7]);
        if (absC6 > absC7) {
            if (absR < absC6) s.validity = 0.5 - c[8] * r / c[6];
        } else if (absR < absC7) {
            s.validity = 0.5 - c[8] * r / c[7];
        }
        if (s.validity > 0.0) {
            double scale = 1.0 / r;
            s.u = p * scale;
            s.v = q * scale;
            scale *= scale;
            s.dux = (r * c[0] - p * c[6]) * scale;
            s.duy = (r * c[1] - p * c[7]) * scale;
            s.dvx = (r * c[3] - q * c[6]) * scale;
            s.dvy = (r * c[4] - q * c[7]) * scale;
        }
    } else {
        s.u = c[0] * dx + c[1] * dy + c[2];
        s.v = c[3] * dx + c[4] * dy + c[5];
        s.dux = c[0];
        s.duy = c[1];
        s.dvx = c[3];
        s.dvy = c[4];
    }
    s.u -= static_cast<double>(source->page.x);
    s.v -= static_cast<double>(source->page.y);
    s.u -= 0.5;
    s.v -= 0.5;
    return s;
}

// The ellipses of a row of samples, two at a time.
void shapeRow(const std::vector<Sample>& samples, std::vector<Ellipse>& ellipses,
              double support, double area) {
    std::size_t i = 0;
    for (; i + 1 < samples.size(); i += 2) {
        const Sample &a = samples[i], &b = samples[i + 1];
        Shape<Pair> shape = ellipseShape(Pair{a.dux, b.dux}, Pair{a.duy, b.duy},
                                         Pair{a.dvx, b.dvx}, Pair{a.dvy, b.dvy}, support, area);
        setEllipse(ellipses[i], shape, 0);
        setEllipse(ellipses[i + 1], shape, 1);
    }
    if (i < samples.size()) {
        const Sample& a = samples[i];
        setEllipse(ellipses[i], ellipseShape(a.dux, a.duy, a.dvx, a.dvy, support, area));
    }
}

// Destination pixels are drawn in square tiles, so that the source pixels
// a tile reads stay in the processor's cache whatever the angle.
constexpr std::size_t kTile = 32;

// What the pixels of one distortion share, and the samples of the row of a
// tile being drawn with their ellipses. An affine map stretches every pixel
// alike: its one ellipse serves all.
struct DistortionDraw {
    const Source& source;
    const Mapping& map;
    WeightTable table{};
    double area = 0;
    PixelPacket invalid{};  // beyond the horizon
    std::vector<Sample> samples{};
    std::vector<Ellipse> ellipses{};
};

// Samples width destination pixels of row j from column left on.
void sampleRow(DistortionDraw& d, const Image* out, std::size_t j, std::size_t left,
               std::size_t width) {
    d.samples.resize(width);
    const double dy = static_cast<double>(out->page.y + static_cast<ssize_t>(j)) + 0.5;
    for (std::size_t i = 0; i < width; ++i) {
        ssize_t x = out->page.x + static_cast<ssize_t>(left + i);
        d.samples[i] = sampleAt(d.map, static_cast<double>(x) + 0.5, dy, d.source.image);
    }
    if (!d.map.perspective) return;
    d.ellipses.resize(width);
    shapeRow(d.samples, d.ellipses, d.table.support, d.area);
}

// Draws the sampled pixels into q; false at one the horizon's soft edge
// reaches, or whose average cannot be taken here.
bool drawSamples(const DistortionDraw& d, PixelPacket* q, ExceptionInfo* exception) {
    for (std::size_t i = 0; i < d.samples.size(); ++i) {
        const Sample& s = d.samples[i];
        const Ellipse& ellipse = d.ellipses[d.map.perspective ? i : 0];
        if (s.validity <= 0.0) {
            q[i] = d.invalid;
        } else if (s.validity < 1.0 ||
                   !average(d.source, d.table, ellipse, s.u, s.v, q[i], exception)) {
            return false;
        }
    }
    return true;
}

// Draws the tile at (left, top) of out, whose pixels are pixels.
bool drawTile(DistortionDraw& d, const Image* out, PixelPacket* pixels, std::size_t top,
              std::size_t left, ExceptionInfo* exception) {
    const std::size_t width = std::min(kTile, out->columns - left);
    const std::size_t bottom = std::min(top + kTile, out->rows);
    for (std::size_t j = top; j < bottom; ++j) {
        sampleRow(d, out, j, left, width);
        if (!drawSamples(d, pixels + j * out->columns + left, exception)) return false;
    }
    return true;
}

// The destination's pixels, tile by tile; false where the horizon's soft
// edge would need blending, which is left to ImageMagick.
bool drawDistortion(const Source& source, const Mapping& map, Image* out,
                    ExceptionInfo* exception) {
    DistortionDraw d{source, map};
    if (!loadWeights(source.image, d.table, exception)) return false;
    d.area = static_cast<double>(static_cast<ssize_t>(source.image->columns * source.image->rows));
    d.invalid = out->matte_color;
    d.samples.reserve(kTile);
    d.ellipses.resize(map.perspective ? kTile : 1);
    if (!map.perspective) {
        Sample s = sampleAt(map, 0.5, 0.5, source.image);
        setEllipse(d.ellipses[0],
                   ellipseShape(s.dux, s.duy, s.dvx, s.dvy, d.table.support, d.area));
    }
    CacheView* view = AcquireAuthenticCacheView(out, exception);
    PixelPacket* pixels =
        QueueCacheViewAuthenticPixels(view, 0, 0, out->columns, out->rows, exception);
    bool drawn = pixels != nullptr;
    for (std::size_t top = 0; drawn && top < out->rows; top += kTile)
        for (std::size_t left = 0; drawn && left < out->columns; left += kTile)
            drawn = drawTile(d, out, pixels, top, left, exception);
    if (drawn && SyncCacheViewAuthenticPixels(view, exception) == MagickFalse) drawn = false;
    DestroyCacheView(view);
    return drawn;
}

bool opaque(const PixelPacket* pixels, std::size_t count) {
    // The alpha factor of an opaque pixel is 1 in IEEE double arithmetic.
    if (QuantumScale * static_cast<MagickRealType>(QuantumRange - 0) != 1.0) return false;
    for (std::size_t i = 0; i < count; ++i)
        if (pixels[i].opacity != OpaqueOpacity) return false;
    return true;
}

// What the pixel loop replicates: a direct-class RGB image with alpha, a
// constant virtual pixel, no masks and no options that change the
// distortion.
bool covered(const Image* image) {
    if (image->columns < 1 || image->rows < 1) return false;
    if (image->storage_class != DirectClass || image->colorspace != sRGBColorspace) return false;
    if (image->matte == MagickFalse || image->clip_mask || image->mask) return false;
    // Both keep the pixels in memory (a memory-mapped file under pressure),
    // which the source's rows are read from in place.
    CacheType cache = GetImagePixelCacheType(image);
    if (cache != MemoryCache && cache != MapCache) return false;
    VirtualPixelMethod method = GetImageVirtualPixelMethod(image);
    if (method != TransparentVirtualPixelMethod && method != BackgroundVirtualPixelMethod)
        return false;
    for (const char* option : {"distort:viewport", "distort:scale", "verbose"})
        if (GetImageArtifact(image, option)) return false;
    return true;
}

// The best-fit distortion of image by map, as a new image; null when the
// pixel loop cannot give ImageMagick's pixels.
Image* distorted(const Image* image, const Mapping& map, ExceptionInfo* exception) {
    if (!covered(image)) return nullptr;
    RectangleInfo geometry = bestFit(image, map);
    const std::size_t limit = 1u << 16;
    if (geometry.width < 1 || geometry.height < 1 || geometry.width > limit ||
        geometry.height > limit)
        return nullptr;
    Image* out = CloneImage(image, geometry.width, geometry.height, MagickTrue, exception);
    if (!out) return nullptr;
    if (SetImageStorageClass(out, DirectClass) == MagickFalse) {
        DestroyImage(out);
        return nullptr;
    }
    if (out->background_color.opacity != OpaqueOpacity) out->matte = MagickTrue;
    out->page.x = geometry.x;
    out->page.y = geometry.y;

    Source source;
    source.image = image;
    source.columns = static_cast<ssize_t>(image->columns);
    source.rows = static_cast<ssize_t>(image->rows);
    if (GetImageVirtualPixelMethod(image) == TransparentVirtualPixelMethod) {
        source.outside.opacity = TransparentOpacity;
    } else {
        source.outside = image->background_color;
    }
    CacheView* rows = AcquireVirtualCacheView(image, exception);
    source.interpolation = AcquireVirtualCacheView(image, exception);
    source.pixels =
        GetCacheViewVirtualPixels(rows, 0, 0, image->columns, image->rows, exception);
    if (source.pixels) source.opaque = opaque(source.pixels, image->columns * image->rows);
    bool drawn = source.pixels && out->matte != MagickFalse &&
                 drawDistortion(source, map, out, exception);
    DestroyCacheView(source.interpolation);
    DestroyCacheView(rows);
    if (drawn) return out;
    DestroyImage(out);
    return nullptr;
}

// A rotation ImageMagick makes by whole quarter turns, moving pixels without
// resampling.
bool quarterTurns(double degrees) {
    double angle = std::fmod(degrees, 360.0);
    while (angle < -45.0) angle += 360.0;
    while (angle > 45.0) angle -= 90.0;
    double shearX = -std::tan(degreesToRadians(angle) / 2.0);
    double shearY = std::sin(degreesToRadians(angle));
    return std::fabs(shearX) < MagickEpsilon && std::fabs(shearY) < MagickEpsilon;
}

// Puts out in the wand in place of its image; MagickFalse, the wand as it
// was, when that fails.
MagickBooleanType handOver(MagickWand* wand, Image* out) {
    if (pixelWorkStepFails()) {
        DestroyImage(out);
        return MagickFalse;
    }
    return replaceWandImage(wand, out);
}

} // namespace

MagickBooleanType distortPerspectiveBestFit(MagickWand* wand, const double* points,
                                            std::size_t count) {
    Image* image = GetImageFromMagickWand(wand);
    Mapping map;
    if (ownPixelWork && image && count == 16 && perspectiveMapping(points, map)) {
        ExceptionInfo* exception = AcquireExceptionInfo();
        Image* out = distorted(image, map, exception);
        DestroyExceptionInfo(exception);
        if (out) return handOver(wand, out);
    }
    return MagickDistortImage(wand, PerspectiveDistortion, count, points, MagickTrue);
}

MagickBooleanType rotateOnBackground(MagickWand* wand, const PixelWand* background,
                                     double degrees) {
    Image* image = GetImageFromMagickWand(wand);
    if (ownPixelWork && image && !quarterTurns(degrees)) {
        // The rotation reads the background as its virtual pixel, which
        // gives a picture without alpha an opaque alpha channel first.
        PixelGetQuantumColor(background, &image->background_color);
        ExceptionInfo* exception = AcquireExceptionInfo();
        Image* turning = CloneImage(image, 0, 0, MagickTrue, exception);
        Image* out = nullptr;
        if (turning) {
            SetImageVirtualPixelMethod(turning, BackgroundVirtualPixelMethod);
            out = distorted(turning, rotationMapping(turning, degrees), exception);
            DestroyImage(turning);
        }
        DestroyExceptionInfo(exception);
        if (out) return handOver(wand, out);
    }
    return MagickRotateImage(wand, background, degrees);
}
