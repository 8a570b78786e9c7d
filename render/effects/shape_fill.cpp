// The shape fill: a shape drawn on a target with a source picture as its
// fill. The shape's coverage is worked out as a mask the size of the
// shape's box, exactly as ImageMagick draws it (shape_raster.h; ImageMagick
// itself draws the shapes that leaves out); the source is then laid over
// the target through that coverage with the Over blend, pixel by pixel.
// That gives the pixels of a drawing whose fill pattern is the source, at a
// fraction of its cost, and skips the frame-sized copies a composite
// through the mask would make. While ownPixelWork is off, that composite is
// what the fill does.
#include <algorithm>
#include <cmath>

#include "render/effects/effect_helpers.h"
#include "render/magick_mirror/over_blend.h"
#include "render/magick_mirror/own_pixel_work.h"
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
WandPtr drawnMaskImage(const PixelBox& box, const std::function<void(DrawingWand*)>& drawShape) {
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
    return mask;
}

// That coverage's opacities.
MaskOpacity drawnMask(const PixelBox& box, const std::function<void(DrawingWand*)>& drawShape) {
    WandPtr mask = drawnMaskImage(box, drawShape);
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

// A channel of the blend, clamped.
Quantum over(const OverBlend& blend, Quantum source, Quantum target) {
    return ClampToQuantum(overChannel<double>(blend, source, target));
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
                // Sa = Da = gamma = 1: each channel is s + t * 0, exactly s.
                t[i].red = s[i].red;
                t[i].green = s[i].green;
                t[i].blue = s[i].blue;
                continue;
            }
            OverBlend blend = overBlend(m[i], targetAlpha ? t[i].opacity : 0);
            t[i].red = over(blend, s[i].red, t[i].red);
            t[i].green = over(blend, s[i].green, t[i].green);
            t[i].blue = over(blend, s[i].blue, t[i].blue);
            if (targetAlpha) t[i].opacity = blend.opacity;
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

// The same fill through ImageMagick's own calls alone: the source's box,
// its alpha the drawn coverage, composited Over the target. It gives the
// blend's pixels while the installed ImageMagick computes as the blend
// does, and its own pixels when it no longer does.
void composeThroughMask(MagickWand* target, MagickWand* source, const PixelBox& box,
                        const std::function<void(DrawingWand*)>& drawShape) {
    WandPtr mask = drawnMaskImage(box, drawShape);
    WandPtr fill(CloneMagickWand(source));
    MagickCropImage(fill.get(), static_cast<size_t>(box.width), static_cast<size_t>(box.height), box.x,
                    box.y);
    MagickSetImagePage(fill.get(), static_cast<size_t>(box.width), static_cast<size_t>(box.height), 0, 0);
    MagickSetImageAlphaChannel(fill.get(), OpaqueAlphaChannel);
    MagickCompositeImage(fill.get(), mask.get(), CopyOpacityCompositeOp, 0, 0);
    MagickCompositeImage(target, fill.get(), OverCompositeOp, box.x, box.y);
}

} // namespace

void fillShape(MagickWand* target, MagickWand* source,
               const std::function<void(DrawingWand*)>& drawShape) {
    double inf = HUGE_VAL;
    PixelBox box = clipped(target, source, -inf, -inf, inf, inf);
    if (box.width < 1 || box.height < 1) return;
    if (!ownPixelWork) return composeThroughMask(target, source, box, drawShape);
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
    if (!ownPixelWork)
        return composeThroughMask(target, source, box, [&shape](DrawingWand* draw) { addShape(draw, shape); });
    std::optional<MaskOpacity> mask = shapeMaskOpacity(shape, box.x, box.y, box.width, box.height);
    if (!mask) mask = drawnMask(box, [&shape](DrawingWand* draw) { addShape(draw, shape); });
    blendThroughMask(target, source, *mask, box);
}
