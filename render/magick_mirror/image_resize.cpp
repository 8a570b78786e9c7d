// ImageMagick's Lanczos resize, computed with its own arithmetic: the same
// double operations in the same order for every channel of every pixel, so
// the result matches its resize to the last bit. It filters one direction
// into a Quantum image and then the other, like ImageMagick, but a row at a
// time through the cache where ImageMagick copies a column strip for every
// destination column, converts each source pixel once, and works the filter
// weights out once per destination row and column.
// Compiled without fused multiply-adds: a fused one rounds differently.
#include "render/magick_mirror/image_resize.h"
#include "render/magick_mirror/mirrored_magick.h"

#include <immintrin.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "render/magick_mirror/own_pixel_work.h"
#include "render/wand_ptr.h"

namespace {

// Lanczos: a three-lobed sinc windowed by the sinc stretched to three lobes.
constexpr double kLobes = 3.0;
constexpr double kWindowScale = 1.0 / kLobes;

// sin(pi x) / (pi x) by ImageMagick's Q16 polynomial on [0, 4], the plain
// formula beyond. The coefficients are rounded through long double, as there.
double sincFast(double x) {
    if (x > 4.0) {
        const double alpha = M_PI * x;
        return std::sin(alpha) / alpha;
    }
    const double xx = x * x;
    const double c0 = 0.173611107357320220183368594093166520811e-2L;
    const double c1 = -0.384240921114946632192116762889211361285e-3L;
    const double c2 = 0.394201182359318128221229891724947048771e-4L;
    const double c3 = -0.250963301609117217660068889165550534856e-5L;
    const double c4 = 0.111902032818095784414237782071368805120e-6L;
    const double c5 = -0.372895101408779549368465614321137048875e-8L;
    const double c6 = 0.957694196677572570319816780188718518330e-10L;
    const double c7 = -0.187208577776590710853865174371617338991e-11L;
    const double c8 = 0.253524321426864752676094495396308636823e-13L;
    const double c9 = -0.177084805010701112639035485248501049364e-15L;
    const double p =
        c0 + xx * (c1 + xx * (c2 + xx * (c3 + xx * (c4 + xx * (c5 + xx * (c6 + xx * (c7 +
             xx * (c8 + xx * c9))))))));
    return (xx - 1.0) * (xx - 4.0) * (xx - 9.0) * (xx - 16.0) * p;
}

double lanczosWeight(double x) {
    const double distance = std::fabs(x);
    return sincFast(distance * kWindowScale) * sincFast(distance);
}

// For every destination pixel along a line, the run of source pixels it is
// made from and their normalised weights. Every run has the same width: a
// shorter one is padded with zero weights on pixels beside it, which leaves
// each sum as it was (adding +0 changes nothing but the sign of a zero, and
// a zero of either sign is stored as 0).
struct Taps {
    int width = 0;
    std::vector<long> first;
    std::vector<double> weights;

    const double* weightsOf(std::size_t at) const { return weights.data() + at * width; }
};

// The taps of a line of from pixels resized to to pixels; false when a
// destination pixel has none (ImageMagick would leave it unwritten).
bool lanczosTaps(std::size_t from, std::size_t to, Taps& taps) {
    const double factor = static_cast<double>(to) / static_cast<double>(from);
    // A reduction widens the filter by the reduction.
    double scale = 1.0 / factor + MagickEpsilon;
    scale = scale > 1.0 ? scale : 1.0;
    const double support = scale * kLobes;
    scale = PerceptibleReciprocal(scale);
    const double end = static_cast<double>(from);
    std::vector<long> counts;
    std::vector<double> weights;
    for (std::size_t at = 0; at < to; ++at) {
        const double bisect = (static_cast<double>(at) + 0.5) / factor + MagickEpsilon;
        const double low = bisect - support + 0.5;
        const double high = bisect + support + 0.5;
        const long start = static_cast<long>(low > 0.0 ? low : 0.0);
        const long stop = static_cast<long>(high < end ? high : end);
        if (stop <= start) return false;
        const std::size_t offset = weights.size();
        double density = 0.0;
        for (long n = start; n < stop; ++n) {
            const double weight = lanczosWeight(scale * (static_cast<double>(n) - bisect + 0.5));
            weights.push_back(weight);
            density += weight;
        }
        if (density != 0.0 && density != 1.0) {
            density = PerceptibleReciprocal(density);
            for (std::size_t i = offset; i < weights.size(); ++i) weights[i] *= density;
        }
        taps.first.push_back(start);
        counts.push_back(stop - start);
    }
    const long width = *std::max_element(counts.begin(), counts.end());
    taps.width = static_cast<int>(width);
    taps.weights.assign(to * width, 0.0);
    const double* run = weights.data();
    for (std::size_t at = 0; at < to; ++at) {
        // Padded on the right where there is room, else on the left.
        const long first = std::min(taps.first[at], static_cast<long>(from) - width);
        std::copy(run, run + counts[at],
                  taps.weights.begin() + at * width + (taps.first[at] - first));
        run += counts[at];
        taps.first[at] = first;
    }
    return true;
}

// The filters use AVX2, present in x86-64 processors for a decade; without
// it the resize is left to ImageMagick. Every function that holds a lane is
// compiled for it (the attribute both gcc and clang honour) and so are the
// ones that call them, which lets the compiler inline the whole filter into
// them. No FMA: that is a separate set.

// One pixel's channels side by side in PixelPacket order (blue, green, red,
// opacity); each lane does its own channel's operations, so a pixel's sums
// are those of ImageMagick, which adds up each channel on its own.
typedef double Lanes __attribute__((vector_size(32)));
typedef int LaneInts __attribute__((vector_size(16)));
typedef unsigned short LaneQuanta __attribute__((vector_size(8)));
static_assert(sizeof(PixelPacket) == sizeof(LaneQuanta), "a Q16 pixel is four shorts");
// Lanes kept in memory, in rows left uninitialised (nothing outside these
// AVX2 functions handles a lane).
struct alignas(32) StoredLanes {
    Lanes lanes;
};
using LaneRows = std::unique_ptr<StoredLanes[]>;
LaneRows laneRows(std::size_t count) { return LaneRows(new StoredLanes[count]); }
// Destination pixels summed side by side, as many as the registers hold.
constexpr int kBlock = 4;

__attribute__((target("avx2")))
void widen(const PixelPacket* in, StoredLanes* out, std::size_t count) {
    for (std::size_t x = 0; x < count; ++x) {
        const __m128i quanta = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + x));
        out[x].lanes = _mm256_cvtepi32_pd(_mm_cvtepu16_epi32(quanta));
    }
}

// ClampToQuantum on every lane. Rounding half up is the same as clamping the
// raised value to [0, QuantumRange] before truncating; NaN gives 0.
__attribute__((target("avx2")))
inline void storePixel(const Lanes& value, PixelPacket& pixel) {
    const Lanes zero{};
    const Lanes top = zero + double{QuantumRange};
    const Lanes raised = value + 0.5;
    const Lanes low = raised > zero ? raised : zero;
    const Lanes clamped = low < top ? low : top;
    const LaneQuanta quanta =
        __builtin_convertvector(__builtin_convertvector(clamped, LaneInts), LaneQuanta);
    std::memcpy(&pixel, &quanta, sizeof pixel);
}

// Adds one source pixel to a destination pixel's sums. Opaque images: the
// weighted channels. With alpha: colours weighted by alpha as well, whose
// weights are summed in gamma; opacity weighted plainly.
template <bool Matte>
__attribute__((target("avx2")))
inline void addTap(Lanes& sum, double& gamma, double weight, const Lanes& pixel) {
    if constexpr (Matte) {
        const double alpha = weight * QuantumScale * (QuantumRange - pixel[3]);
        sum += Lanes{alpha, alpha, alpha, weight} * pixel;
        gamma += alpha;
    } else {
        sum += weight * pixel;
    }
}

template <bool Matte>
__attribute__((target("avx2")))
inline void storeSum(const Lanes& sum, double gamma, PixelPacket& pixel) {
    if constexpr (Matte) {
        gamma = PerceptibleReciprocal(gamma);
        storePixel(Lanes{gamma, gamma, gamma, 1.0} * sum, pixel);
    } else {
        storePixel(sum, pixel);
    }
}

// Destination pixels x to x + N - 1 of a row, filtered along the source row
// line. The N sums are independent and overlap; each adds its taps in order.
template <int N, bool Matte>
__attribute__((target("avx2")))
inline void filterAcross(const StoredLanes* line, const Taps& taps, std::size_t x,
                         PixelPacket* out) {
    const int width = taps.width;
    const double* w = taps.weightsOf(x);
    const StoredLanes* p[N];
    for (int k = 0; k < N; ++k) p[k] = line + taps.first[x + k];
    Lanes sum[N] = {};
    double gamma[N] = {};
    for (int i = 0; i < width; ++i)
        for (int k = 0; k < N; ++k)
            addTap<Matte>(sum[k], gamma[k], w[k * width + i], p[k][i].lanes);
    for (int k = 0; k < N; ++k) storeSum<Matte>(sum[k], gamma[k], out[x + k]);
}

// Destination pixels x to x + N - 1 of a row, filtered down the source rows
// it draws on with weights w.
template <int N, bool Matte>
__attribute__((target("avx2")))
inline void filterDown(const StoredLanes* const* rows, const double* w, int width, std::size_t x,
                       PixelPacket* out) {
    Lanes sum[N] = {};
    double gamma[N] = {};
    for (int i = 0; i < width; ++i)
        for (int k = 0; k < N; ++k) addTap<Matte>(sum[k], gamma[k], w[i], rows[i][x + k].lanes);
    for (int k = 0; k < N; ++k) storeSum<Matte>(sum[k], gamma[k], out[x + k]);
}

// A destination row along the source row line, a block of pixels at a time.
template <bool Matte>
__attribute__((target("avx2")))
void filterRow(const StoredLanes* line, PixelPacket* out, std::size_t columns, const Taps& taps) {
    std::size_t x = 0;
    for (; x + kBlock <= columns; x += kBlock) filterAcross<kBlock, Matte>(line, taps, x, out);
    for (; x < columns; ++x) filterAcross<1, Matte>(line, taps, x, out);
}

// A destination row from the source rows it draws on, a block at a time.
template <bool Matte>
__attribute__((target("avx2")))
void filterColumnsOfRow(const StoredLanes* const* rows, std::size_t columns, const double* w,
                        int width, PixelPacket* out) {
    std::size_t x = 0;
    for (; x + kBlock <= columns; x += kBlock) filterDown<kBlock, Matte>(rows, w, width, x, out);
    for (; x < columns; ++x) filterDown<1, Matte>(rows, w, width, x, out);
}

// The source rows a destination row draws on, widened to lanes, in a ring:
// each is made once, when the window first reaches it, by make(row, slot).
class RowWindow {
public:
    RowWindow(const Taps& taps, std::size_t columns)
        : taps_(taps), columns_(columns), ring_(laneRows(taps.width * columns)),
          rows_(taps.width) {}

    template <typename Make>
    __attribute__((target("avx2")))
    const StoredLanes* const* rowsFor(std::size_t at, Make make) {
        const long width = taps_.width;
        const long first = taps_.first[at];
        for (long row = std::max(made_, first); row < first + width; ++row)
            make(row, ring_.get() + (row % width) * columns_);
        made_ = first + width;
        for (long i = 0; i < width; ++i)
            rows_[i] = ring_.get() + ((first + i) % width) * columns_;
        return rows_.data();
    }

private:
    const Taps& taps_;
    std::size_t columns_;
    LaneRows ring_;
    std::vector<const StoredLanes*> rows_;
    long made_ = 0;  // the rows before this one have been made
};

// Both passes, a destination row at a time: the intermediate row between
// them is rounded to Quantum as ImageMagick's intermediate image is, and
// never leaves the cache.
template <bool Matte>
__attribute__((target("avx2")))
void filterImage(const PixelPacket* source, std::size_t columns, PixelPacket* target,
                 std::size_t targetColumns, std::size_t targetRows, const Taps& across,
                 const Taps& down, bool rowsFirst) {
    LaneRows line = laneRows(columns);
    if (rowsFirst) {
        // Across each source row, then down the filtered rows.
        std::vector<PixelPacket> middle(targetColumns);
        RowWindow window(down, targetColumns);
        for (std::size_t y = 0; y < targetRows; ++y) {
            auto make = [&](long row, StoredLanes* slot) __attribute__((target("avx2"))) {
                widen(source + row * columns, line.get(), columns);
                filterRow<Matte>(line.get(), middle.data(), targetColumns, across);
                widen(middle.data(), slot, targetColumns);
            };
            const StoredLanes* const* rows = window.rowsFor(y, make);
            filterColumnsOfRow<Matte>(rows, targetColumns, down.weightsOf(y), down.width,
                                      target + y * targetColumns);
        }
        return;
    }
    // Down the source rows, then across each filtered row.
    std::vector<PixelPacket> middle(columns);
    RowWindow window(down, columns);
    for (std::size_t y = 0; y < targetRows; ++y) {
        auto make = [&](long row, StoredLanes* slot) __attribute__((target("avx2"))) {
            widen(source + row * columns, slot, columns);
        };
        const StoredLanes* const* rows = window.rowsFor(y, make);
        filterColumnsOfRow<Matte>(rows, columns, down.weightsOf(y), down.width, middle.data());
        widen(middle.data(), line.get(), columns);
        filterRow<Matte>(line.get(), target + y * targetColumns, targetColumns, across);
    }
}

// Resizes source (columns wide) into target.
__attribute__((target("avx2")))
void filter(const PixelPacket* source, std::size_t columns, PixelPacket* target,
            std::size_t targetColumns, std::size_t targetRows, const Taps& across,
            const Taps& down, bool rowsFirst, bool matte) {
    if (matte) filterImage<true>(source, columns, target, targetColumns, targetRows, across, down,
                                 rowsFirst);
    else filterImage<false>(source, columns, target, targetColumns, targetRows, across, down,
                            rowsFirst);
}

// What this file does not compute the way ImageMagick would for the image.
bool computable(const Image* image) {
    if (!__builtin_cpu_supports("avx2")) return false;
    if (image->storage_class != DirectClass || image->colorspace == CMYKColorspace) return false;
    if (image->clip_mask || image->mask || image->progress_monitor) return false;
    for (const char* option : {"filter:filter", "filter:window", "filter:lobes", "filter:blur",
                               "filter:support", "filter:win-support", "filter:verbose"})
        if (GetImageArtifact(image, option)) return false;
    return true;
}

// The resized image as ImageMagick's resize makes it: a clone at the new size
// filtered along the direction that grows more (or shrinks less) first.
Image* resizedImage(const Image* image, std::size_t columns, std::size_t rows,
                    ExceptionInfo* exception) {
    Taps across, down;
    if (!lanczosTaps(image->columns, columns, across) || !lanczosTaps(image->rows, rows, down))
        return nullptr;
    const double xFactor = static_cast<double>(columns) / static_cast<double>(image->columns);
    const double yFactor = static_cast<double>(rows) / static_cast<double>(image->rows);
    const bool rowsFirst = xFactor > yFactor;
    const bool matte = image->matte != MagickFalse;
    Image* resized = CloneImage(image, columns, rows, MagickTrue, exception);
    if (!resized) return nullptr;
    CacheView* sourceView = AcquireVirtualCacheView(image, exception);
    CacheView* targetView = AcquireAuthenticCacheView(resized, exception);
    const PixelPacket* source =
        GetCacheViewVirtualPixels(sourceView, 0, 0, image->columns, image->rows, exception);
    PixelPacket* target = QueueCacheViewAuthenticPixels(targetView, 0, 0, columns, rows, exception);
    bool done = source && target;
    if (done) {
        filter(source, image->columns, target, columns, rows, across, down, rowsFirst, matte);
        done = SyncCacheViewAuthenticPixels(targetView, exception) != MagickFalse;
    }
    DestroyCacheView(targetView);
    DestroyCacheView(sourceView);
    if (!done) return DestroyImage(resized);
    resized->type = image->type;
    return resized;
}

} // namespace

MagickBooleanType lanczosResize(MagickWand* wand, std::size_t columns, std::size_t rows) {
    const Image* image = GetImageFromMagickWand(wand);
    if (!ownPixelWork || !image || columns == 0 || rows == 0 || !computable(image))
        return MagickResizeImage(wand, columns, rows, LanczosFilter, 1.0);
    ExceptionInfo* exception = AcquireExceptionInfo();
    Image* resized = resizedImage(image, columns, rows, exception);
    DestroyExceptionInfo(exception);
    if (!resized) return MagickResizeImage(wand, columns, rows, LanczosFilter, 1.0);
    return replaceWandImage(wand, resized);
}
