// The shape fill: a shape drawn on a target with a source picture as its
// fill. The shape's coverage is worked out as a mask the size of the
// shape's box, exactly as ImageMagick draws it (shape_raster.h; ImageMagick
// itself draws the shapes that leaves out); the source is then laid over
// the target through that coverage with the Over blend, pixel by pixel.
// That gives the pixels of a drawing whose fill pattern is the source, at a
// fraction of its cost, and skips the frame-sized copies a composite
// through the mask would make.
#include <algorithm>
#include <cmath>

#include "render/effects/effect_helpers.h"
#include "render/magick_mirror/shape_raster.h"

namespace {

struct PixelBox {
    int x = 0, y = 0, width = 0, height = 0;
};

// The mask's opacities, row after row.
using MaskOpacity = ShapeMask;

// The coverage ImageMagick draws for drawShape: opaque white inside,
// transparent outside, the edge in between, on a mask covering box, the
// shape moved by the box's corner.
MaskOpacity drawnMask(const PixelBox& box, const std::function<void(DrawingWand*)>& drawShape) {
    WandPtr mask = newCanvasOf(box.width, box.height, "none");
    DrawingWandPtr draw(NewDrawingWand());
    PixelWandPtr white = newPixelWand("#ffffff");
    PixelWandPtr none = newPixelWand("none");
    DrawSetFillColor(draw.get(), white.get());
    // No outline, but the default stroke width stays: ImageMagick sizes a
    // filled shape's anti-aliased edge by it.
    DrawSetStrokeColor(draw.get(), none.get());
    DrawTranslate(draw.get(), -box.x, -box.y);
    drawShape(draw.get());
    MagickDrawImage(mask.get(), draw.get());
    MaskOpacity opacity(static_cast<std::size_t>(box.width) * static_cast<std::size_t>(box.height),
                        QuantumRange);
    Image* image = GetImageFromMagickWand(mask.get());
    ExceptionInfo* exception = AcquireExceptionInfo();
    CacheView* view = AcquireVirtualCacheView(image, exception);
    for (int row = 0; row < box.height; ++row) {
        const PixelPacket* p =
            GetCacheViewVirtualPixels(view, 0, row, static_cast<size_t>(box.width), 1, exception);
        if (!p) break;
        Quantum* out = opacity.data() + static_cast<std::size_t>(row) * box.width;
        for (int i = 0; i < box.width; ++i) out[i] = p[i].opacity;
    }
    DestroyCacheView(view);
    DestroyExceptionInfo(exception);
    return opacity;
}

// ImageMagick's Over of a source pixel at alpha Sa onto a target pixel at
// alpha Da, in its own order of operations so the result matches its
// composite to the last bit.
Quantum over(double source, double Sa, double target, double Da, double gamma) {
    return ClampToQuantum(gamma * (Sa * source - Sa * Da * target + Da * target));
}

// Lays source over target through the mask's alpha; the source's own alpha
// is ignored (it fills as an opaque picture). Both are read and written
// through this call's own cache views: other threads read the source's
// pixel cache at the same time.
void blendThroughMask(MagickWand* target, MagickWand* source, const MaskOpacity& mask,
                      const PixelBox& box) {
    Image* targetImage = GetImageFromMagickWand(target);
    Image* sourceImage = GetImageFromMagickWand(source);
    if (!targetImage || !sourceImage) return;
    // Pixels written straight into a palette image would be reset from its
    // palette later.
    if (targetImage->storage_class == PseudoClass) SetImageStorageClass(targetImage, DirectClass);
    bool targetAlpha = targetImage->matte != MagickFalse;
    ExceptionInfo* exception = AcquireExceptionInfo();
    CacheView* sourceView = AcquireVirtualCacheView(sourceImage, exception);
    CacheView* targetView = AcquireAuthenticCacheView(targetImage, exception);
    for (int row = 0; row < box.height; ++row) {
        const Quantum* m = mask.data() + static_cast<std::size_t>(row) * box.width;
        int first = 0, last = box.width - 1;
        while (first <= last && m[first] == QuantumRange) ++first;
        while (last >= first && m[last] == QuantumRange) --last;
        if (first > last) continue;
        size_t columns = static_cast<size_t>(last - first + 1);
        const PixelPacket* s = GetCacheViewVirtualPixels(sourceView, box.x + first, box.y + row,
                                                         columns, 1, exception);
        PixelPacket* t = s ? GetCacheViewAuthenticPixels(targetView, box.x + first, box.y + row,
                                                         columns, 1, exception)
                           : nullptr;
        if (!t) break;
        m += first;
        for (size_t i = 0; i < columns; ++i) {
            if (m[i] == QuantumRange) continue;
            if (m[i] == 0 && !targetAlpha) {
                // Sa = Da = gamma = 1: each channel is (s - t) + t, exactly s.
                t[i].red = s[i].red;
                t[i].green = s[i].green;
                t[i].blue = s[i].blue;
                continue;
            }
            double Sa = 1.0 - QuantumScale * m[i];
            double Da = targetAlpha ? 1.0 - QuantumScale * t[i].opacity : 1.0;
            double alpha = Sa + Da - Sa * Da;
            double gamma = alpha > MagickEpsilon ? 1.0 / alpha : 1.0 / MagickEpsilon;
            t[i].red = over(s[i].red, Sa, t[i].red, Da, gamma);
            t[i].green = over(s[i].green, Sa, t[i].green, Da, gamma);
            t[i].blue = over(s[i].blue, Sa, t[i].blue, Da, gamma);
            if (targetAlpha) t[i].opacity = ClampToQuantum(QuantumRange * (1.0 - alpha));
        }
        if (SyncCacheViewAuthenticPixels(targetView, exception) == MagickFalse) break;
    }
    DestroyCacheView(targetView);
    DestroyCacheView(sourceView);
    DestroyExceptionInfo(exception);
}

// The part of both images inside [x0, x1) x [y0, y1).
PixelBox clipped(MagickWand* target, MagickWand* source, double x0, double y0, double x1,
                 double y1) {
    double width = static_cast<double>(
        std::min(MagickGetImageWidth(target), MagickGetImageWidth(source)));
    double height = static_cast<double>(
        std::min(MagickGetImageHeight(target), MagickGetImageHeight(source)));
    double left = std::clamp(std::floor(x0), 0.0, width);
    double top = std::clamp(std::floor(y0), 0.0, height);
    double right = std::clamp(std::ceil(x1), 0.0, width);
    double bottom = std::clamp(std::ceil(y1), 0.0, height);
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
            static_cast<int>(bottom - top)};
}

} // namespace

void fillShape(MagickWand* target, MagickWand* source,
               const std::function<void(DrawingWand*)>& drawShape) {
    double inf = HUGE_VAL;
    PixelBox box = clipped(target, source, -inf, -inf, inf, inf);
    if (box.width < 1 || box.height < 1) return;
    blendThroughMask(target, source, drawnMask(box, drawShape), box);
}

void fillShape(MagickWand* target, MagickWand* source, const Shape& shape) {
    ShapeBounds bounds = shapeBounds(shape);
    if (bounds.empty()) return;
    // The anti-aliased edge reaches a pixel and a half beyond the outline
    // (half a pixel of stroke width, half a pixel to the pixel's centre).
    const double edge = 2;
    PixelBox box = clipped(target, source, bounds.x0 - edge, bounds.y0 - edge,
                           bounds.x1 + edge + 1, bounds.y1 + edge + 1);
    if (box.width < 1 || box.height < 1) return;
    std::optional<MaskOpacity> mask = shapeMaskOpacity(shape, box.x, box.y, box.width, box.height);
    if (!mask) mask = drawnMask(box, [&shape](DrawingWand* draw) { addShape(draw, shape); });
    blendThroughMask(target, source, *mask, box);
}
