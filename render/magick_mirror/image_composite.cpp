// ImageMagick's Over composite, pixel for pixel (the blend is over_blend.h).
// An image without matte counts as opaque (opacity 0) but still has the
// opacity written. Only the pixels the source covers are touched. When
// neither image has matte and the source lies strictly inside the target
// (its far edges short of the target's), the library copies the source's
// pixels as they are instead, opacity field and all. Those rules are
// followed here with the same operations in the same order (this file is
// compiled without contraction into fused multiply-adds); speed comes from
// blending whole rows read through cache views of our own, and from working
// out a blend once for a run of pixels that share their opacities.
#include "render/magick_mirror/image_composite.h"
#include "render/magick_mirror/mirrored_magick.h"

#include <algorithm>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "render/image.h"
#include "render/magick_mirror/over_blend.h"
#include "render/magick_mirror/own_pixel_work.h"
#include "render/magick_mirror/pixel_work_fault.h"

namespace {

// A rectangle of the source laid with its corner at (x, y) on the target.
struct Placement {
    ssize_t sourceX = 0, sourceY = 0;
    size_t width = 0, height = 0;
    ssize_t x = 0, y = 0;
};

// The part of the target a placement covers, and how it is written.
struct OverPlan {
    ssize_t targetX = 0, targetY = 0;  // first covered target pixel
    ssize_t sourceX = 0, sourceY = 0;  // the source pixel laid on it
    size_t columns = 0, rows = 0;      // covered size (0 when nothing is covered)
    bool copy = false;                 // the pixels are copied as they are
    bool sourceMatte = false;
    bool targetMatte = false;
};

OverPlan planOver(const Image* target, const Image* source, const Placement& place) {
    OverPlan plan;
    plan.sourceMatte = source->matte != MagickFalse;
    plan.targetMatte = target->matte != MagickFalse;
    const ssize_t width = static_cast<ssize_t>(place.width);
    const ssize_t height = static_cast<ssize_t>(place.height);
    const ssize_t columns = static_cast<ssize_t>(target->columns);
    const ssize_t rows = static_cast<ssize_t>(target->rows);
    plan.copy = !plan.sourceMatte && !plan.targetMatte && place.x >= 0 && place.y >= 0 &&
                place.x + width < columns && place.y + height < rows;
    ssize_t left = std::max<ssize_t>(place.x, 0);
    ssize_t top = std::max<ssize_t>(place.y, 0);
    ssize_t right = std::min(place.x + width, columns);
    ssize_t bottom = std::min(place.y + height, rows);
    if (right <= left || bottom <= top) return plan;
    plan.targetX = left;
    plan.targetY = top;
    plan.sourceX = place.sourceX + left - place.x;
    plan.sourceY = place.sourceY + top - place.y;
    plan.columns = static_cast<size_t>(right - left);
    plan.rows = static_cast<size_t>(bottom - top);
    return plan;
}

// Whether any row of the target lies in the placement's band: the library
// writes those rows back even when no column of them is covered.
bool touchesRows(const Image* target, const Placement& place) {
    return place.y < static_cast<ssize_t>(target->rows) &&
           place.y + static_cast<ssize_t>(place.height) > 0;
}

// Images whose composite is computed here: no palette, no black channel
// (CMYK is blended inverted), no clip or mask on the target (applied when
// pixels are written back), no progress monitor, no compose settings.
bool plainSource(const Image* source) {
    return source->storage_class == DirectClass && source->colorspace != CMYKColorspace;
}

bool plainTarget(const Image* target) {
    if (!plainSource(target) || target->clip_mask || target->mask || target->progress_monitor)
        return false;
    if (!target->artifacts) return true;
    for (const char* name : {"compose:outside-overlay", "compose:clip-to-self", "compose:clamp"})
        if (GetImageArtifact(target, name)) return false;
    return true;
}

// ClampPixel for a finite value: 0 below 0, QuantumRange from it on, else
// value + 0.5 truncated. Bounding first gives the same for every value.
Quantum clampQuantum(double value) {
    return static_cast<Quantum>(std::min(std::max(value, 0.0), double{QuantumRange}) + 0.5);
}

// A run of pixels that share the blend's source and target opacities. Each
// channel goes through the blend's operations; with SSE2 the four channels
// of a pixel (opacity among them, then overwritten) go two by two through
// the same sequence.
void blendRun(PixelPacket* q, const PixelPacket* p, size_t count, const OverBlend& blend) {
    size_t i = 0;
#ifdef __SSE2__
    static_assert(sizeof(PixelPacket) == 4 * sizeof(Quantum) && sizeof(Quantum) == 2);
    const __m128d vZero = _mm_setzero_pd(), vRange = _mm_set1_pd(QuantumRange),
                  vHalf = _mm_set1_pd(0.5);
    const __m128i zero = _mm_setzero_si128(), bias32 = _mm_set1_epi32(32768),
                  bias16 = _mm_set1_epi16(static_cast<short>(0x8000));
    auto channels = [&](__m128i packed, __m128d* low, __m128d* high) {
        __m128i wide = _mm_unpacklo_epi16(packed, zero);
        *low = _mm_cvtepi32_pd(wide);
        *high = _mm_cvtepi32_pd(_mm_shuffle_epi32(wide, _MM_SHUFFLE(3, 2, 3, 2)));
    };
    auto blended = [&](__m128d s, __m128d t) {
        __m128d value = overChannel(blend, s, t);
        value = _mm_add_pd(_mm_min_pd(_mm_max_pd(value, vZero), vRange), vHalf);
        return _mm_cvttpd_epi32(value);
    };
    for (; i < count; ++i) {
        __m128d sLow, sHigh, tLow, tHigh;
        channels(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + i)), &sLow, &sHigh);
        channels(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(q + i)), &tLow, &tHigh);
        __m128i result = _mm_unpacklo_epi64(blended(sLow, tLow), blended(sHigh, tHigh));
        // 32-bit lanes of 0..65535 to 16 bits: shifted into the signed range to pack.
        result = _mm_add_epi16(_mm_packs_epi32(_mm_sub_epi32(result, bias32), zero), bias16);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(q + i), result);
        q[i].opacity = blend.opacity;
    }
#endif
    for (; i < count; ++i) {
        q[i].red = clampQuantum(overChannel<double>(blend, p[i].red, q[i].red));
        q[i].green = clampQuantum(overChannel<double>(blend, p[i].green, q[i].green));
        q[i].blue = clampQuantum(overChannel<double>(blend, p[i].blue, q[i].blue));
        q[i].opacity = blend.opacity;
    }
}

// Lays a row of the source Over the target's pixels in place. An opaque
// source pixel (opacity 0, or no matte) comes out as its own colour with
// opacity 0: Sa is then exactly 1, so the blended sum is exactly the source
// value, and gamma lies within 2^-52 of 1, an error rounding to the nearest
// quantum cannot see (it moves a value of at most 65535 by under 2^-35).
void overRow(PixelPacket* q, const PixelPacket* p, size_t count, const OverPlan& plan) {
    if (plan.copy) {
        std::memcpy(q, p, count * sizeof(PixelPacket));
        return;
    }
    if (!plan.sourceMatte) {
        for (size_t i = 0; i < count; ++i) {
            q[i] = p[i];
            q[i].opacity = 0;
        }
        return;
    }
    OverBlend blend = overBlend(QuantumRange, 0);
    Quantum blendSource = QuantumRange;
    Quantum blendTarget = 0;
    size_t i = 0;
    while (i < count) {
        Quantum sourceOpacity = p[i].opacity;
        Quantum targetOpacity = plan.targetMatte ? q[i].opacity : 0;
        size_t end = i + 1;
        while (end < count && p[end].opacity == sourceOpacity &&
               (!plan.targetMatte || q[end].opacity == targetOpacity))
            ++end;
        if (sourceOpacity == 0) {
            std::memcpy(q + i, p + i, (end - i) * sizeof(PixelPacket));
        } else {
            if (sourceOpacity != blendSource || targetOpacity != blendTarget) {
                blend = overBlend(sourceOpacity, targetOpacity);
                blendSource = sourceOpacity;
                blendTarget = targetOpacity;
            }
            blendRun(q + i, p + i, end - i, blend);
        }
        i = end;
    }
}

// The source's pixels of a covered row (0 is the plan's first); null when
// they cannot be read.
const PixelPacket* sourceRow(CacheView* view, const OverPlan& plan, ssize_t row,
                             ExceptionInfo* exception) {
    if (pixelWorkStepFails()) return nullptr;
    return GetCacheViewVirtualPixels(view, plan.sourceX, plan.sourceY + row, plan.columns, 1,
                                     exception);
}

// Lays the plan's rows of source Over target; false when a row could not be
// read or written, with the rows before it laid.
bool layRows(Image* target, const Image* source, const OverPlan& plan) {
    ExceptionInfo* exception = &target->exception;
    CacheView* sourceView = AcquireVirtualCacheView(source, exception);
    CacheView* targetView = AcquireAuthenticCacheView(target, exception);
    bool laid = true;
    for (ssize_t row = 0; laid && row < static_cast<ssize_t>(plan.rows); ++row) {
        const PixelPacket* p = sourceRow(sourceView, plan, row, exception);
        PixelPacket* q = GetCacheViewAuthenticPixels(targetView, plan.targetX, plan.targetY + row,
                                                     plan.columns, 1, exception);
        laid = p && q;
        if (!laid) break;
        overRow(q, p, plan.columns, plan);
        laid = SyncCacheViewAuthenticPixels(targetView, exception) != MagickFalse;
    }
    DestroyCacheView(targetView);
    DestroyCacheView(sourceView);
    return laid;
}

// Composites a placement of source Over target in place. Declined, with
// nothing drawn, when the library must do it.
PartOver overInPlace(Image* target, const Image* source, const Placement& place) {
    if (target == source || !plainTarget(target) || !plainSource(source))
        return PartOver::Declined;
    // As the library does first: the target's pixels become its own (a clone
    // sharing them keeps the old ones). When they cannot be had, the
    // library's own call fails there too, and tells the wand why.
    if (SetImageStorageClass(target, DirectClass) == MagickFalse) return PartOver::Declined;
    if (!touchesRows(target, place)) return PartOver::Laid;
    OverPlan plan = planOver(target, source, place);
    if (plan.columns == 0) {
        target->taint = MagickTrue;
        return PartOver::Laid;
    }
    return layRows(target, source, plan) ? PartOver::Laid : PartOver::Failed;
}

Placement wholeImageAt(const Image* source, ssize_t x, ssize_t y) {
    return {0, 0, source->columns, source->rows, x, y};
}

// The first pixel of a new canvas: every pixel of one is that colour.
bool firstPixel(Image* image, PixelPacket* pixel) {
    CacheView* view = AcquireVirtualCacheView(image, &image->exception);
    const PixelPacket* p = GetCacheViewVirtualPixels(view, 0, 0, 1, 1, &image->exception);
    if (p) *pixel = *p;
    DestroyCacheView(view);
    return p != nullptr;
}

// Writes every row of a width x height canvas once: the fill colour, with
// the placement of source laid Over it. False when a row could not be read
// or written: the canvas then has rows never written.
bool fillAndLay(Image* canvas, const PixelPacket& fill, const Image* source,
                const Placement& place) {
    OverPlan plan = planOver(canvas, source, place);
    ExceptionInfo* exception = &canvas->exception;
    CacheView* sourceView = AcquireVirtualCacheView(source, exception);
    CacheView* canvasView = AcquireAuthenticCacheView(canvas, exception);
    const ssize_t rows = static_cast<ssize_t>(canvas->rows);
    bool written = true;
    for (ssize_t y = 0; written && y < rows; ++y) {
        PixelPacket* q = QueueCacheViewAuthenticPixels(canvasView, 0, y, canvas->columns, 1,
                                                       exception);
        written = q != nullptr;
        if (!written) break;
        std::fill(q, q + canvas->columns, fill);
        ssize_t row = y - plan.targetY;
        if (plan.columns > 0 && row >= 0 && row < static_cast<ssize_t>(plan.rows)) {
            const PixelPacket* p = sourceRow(sourceView, plan, row, exception);
            written = p != nullptr;
            if (!written) break;
            overRow(q + plan.targetX, p, plan.columns, plan);
        }
        written = SyncCacheViewAuthenticPixels(canvasView, exception) != MagickFalse;
    }
    DestroyCacheView(canvasView);
    DestroyCacheView(sourceView);
    return written;
}

} // namespace

MagickBooleanType compositeImageOver(MagickWand* target, MagickWand* source, ssize_t x,
                                     ssize_t y) {
    Image* targetImage = GetImageFromMagickWand(target);
    const Image* sourceImage = GetImageFromMagickWand(source);
    if (ownPixelWork && targetImage && sourceImage) {
        PartOver laid = overInPlace(targetImage, sourceImage, wholeImageAt(sourceImage, x, y));
        if (laid != PartOver::Declined) return laid == PartOver::Laid ? MagickTrue : MagickFalse;
    }
    return MagickCompositeImage(target, source, OverCompositeOp, x, y);
}

PartOver compositePartOver(MagickWand* target, MagickWand* source, ssize_t sx, ssize_t sy,
                           size_t width, size_t height, ssize_t x, ssize_t y) {
    Image* targetImage = GetImageFromMagickWand(target);
    const Image* sourceImage = GetImageFromMagickWand(source);
    // A clone's crop is of the first image in the list, placed by the page
    // offset; here it is the part itself only when both are neutral.
    if (!ownPixelWork || !targetImage || !sourceImage || sourceImage->previous ||
        sourceImage->page.x != 0 || sourceImage->page.y != 0 || width == 0 || height == 0 ||
        sx < 0 || sy < 0 ||
        sx + static_cast<ssize_t>(width) > static_cast<ssize_t>(sourceImage->columns) ||
        sy + static_cast<ssize_t>(height) > static_cast<ssize_t>(sourceImage->rows))
        return PartOver::Declined;
    return overInPlace(targetImage, sourceImage, {sx, sy, width, height, x, y});
}

MagickWand* newCanvasWithImageOver(int width, int height, const char* color, MagickWand* image,
                                   ssize_t x, ssize_t y) {
    const Image* source = GetImageFromMagickWand(image);
    if (ownPixelWork && width >= 1 && height >= 1 && source && plainSource(source)) {
        // A 1 x 1 canvas has the attributes of any new canvas and its one
        // pixel is the fill; extended, its pixels are written once below.
        // Should that fail, the library's own calls make the canvas.
        MagickWand* canvas = newCanvas(1, 1, color);
        Image* canvasImage = GetImageFromMagickWand(canvas);
        PixelPacket fill;
        if (canvasImage && plainTarget(canvasImage) && firstPixel(canvasImage, &fill) &&
            SetImageExtent(canvasImage, static_cast<size_t>(width),
                           static_cast<size_t>(height)) != MagickFalse &&
            fillAndLay(canvasImage, fill, source, wholeImageAt(source, x, y)))
            return canvas;
        DestroyMagickWand(canvas);
    }
    MagickWand* canvas = newCanvas(width, height, color);
    compositeImageOver(canvas, image, x, y);
    return canvas;
}
