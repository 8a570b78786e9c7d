// The shape fill: a shape drawn on a target with a source picture as its
// fill. ImageMagick draws the shape's coverage onto a transparent mask the
// size of the shape's box; the source is then laid over the target through
// that coverage with the Over blend, pixel by pixel. That gives the pixels of
// a drawing whose fill pattern is the source, at a fraction of its cost,
// and skips the frame-sized copies a composite through the mask would make.
#include <algorithm>
#include <cmath>

#include "render/effects/effect_helpers.h"

namespace {

struct PixelBox {
    int x = 0, y = 0, width = 0, height = 0;
};

// The shape's coverage: opaque white inside, transparent outside, the edge
// in between, on a mask covering box, the shape moved by the box's corner.
WandPtr shapeMask(const PixelBox& box, const std::function<void(DrawingWand*)>& drawShape) {
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

// ImageMagick's Over of a source pixel at alpha Sa onto a target pixel at
// alpha Da, in its own order of operations so the result matches its
// composite to the last bit.
Quantum over(double source, double Sa, double target, double Da, double gamma) {
    return ClampToQuantum(gamma * (Sa * source - Sa * Da * target + Da * target));
}

// Lays source over target through the mask's alpha; the source's own alpha
// is ignored (it fills as an opaque picture).
void blendThroughMask(MagickWand* target, MagickWand* source, MagickWand* mask,
                      const PixelBox& box) {
    Image* targetImage = GetImageFromMagickWand(target);
    Image* sourceImage = GetImageFromMagickWand(source);
    Image* maskImage = GetImageFromMagickWand(mask);
    if (!targetImage || !sourceImage || !maskImage) return;
    // Pixels written straight into a palette image would be reset from its
    // palette later.
    if (targetImage->storage_class == PseudoClass) SetImageStorageClass(targetImage, DirectClass);
    bool targetAlpha = targetImage->matte != MagickFalse;
    ExceptionInfo* exception = AcquireExceptionInfo();
    for (int row = 0; row < box.height; ++row) {
        const PixelPacket* m = GetVirtualPixels(maskImage, 0, row, box.width, 1, exception);
        const PixelPacket* s =
            GetVirtualPixels(sourceImage, box.x, box.y + row, box.width, 1, exception);
        if (!m || !s) break;
        bool covered = false;
        for (int i = 0; i < box.width && !covered; ++i) covered = m[i].opacity != QuantumRange;
        if (!covered) continue;
        PixelPacket* t = GetAuthenticPixels(targetImage, box.x, box.y + row, box.width, 1,
                                            exception);
        if (!t) break;
        for (int i = 0; i < box.width; ++i) {
            if (m[i].opacity == QuantumRange) continue;
            double Sa = 1.0 - QuantumScale * m[i].opacity;
            double Da = targetAlpha ? 1.0 - QuantumScale * t[i].opacity : 1.0;
            double alpha = Sa + Da - Sa * Da;
            double gamma = alpha > MagickEpsilon ? 1.0 / alpha : 1.0 / MagickEpsilon;
            t[i].red = over(s[i].red, Sa, t[i].red, Da, gamma);
            t[i].green = over(s[i].green, Sa, t[i].green, Da, gamma);
            t[i].blue = over(s[i].blue, Sa, t[i].blue, Da, gamma);
            if (targetAlpha) t[i].opacity = ClampToQuantum(QuantumRange * (1.0 - alpha));
        }
        if (SyncAuthenticPixels(targetImage, exception) == MagickFalse) break;
    }
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

void fillShapeIn(MagickWand* target, MagickWand* source, const PixelBox& box,
                 const std::function<void(DrawingWand*)>& drawShape) {
    if (box.width < 1 || box.height < 1) return;
    WandPtr mask = shapeMask(box, drawShape);
    blendThroughMask(target, source, mask.get(), box);
}

} // namespace

void fillShape(MagickWand* target, MagickWand* source,
               const std::function<void(DrawingWand*)>& drawShape) {
    double inf = HUGE_VAL;
    fillShapeIn(target, source, clipped(target, source, -inf, -inf, inf, inf), drawShape);
}

void fillShape(MagickWand* target, MagickWand* source, const Shape& shape) {
    ShapeBounds bounds = shapeBounds(shape);
    if (bounds.empty()) return;
    // The anti-aliased edge reaches a pixel and a half beyond the outline
    // (half a pixel of stroke width, half a pixel to the pixel's centre).
    const double edge = 2;
    PixelBox box = clipped(target, source, bounds.x0 - edge, bounds.y0 - edge,
                           bounds.x1 + edge + 1, bounds.y1 + edge + 1);
    fillShapeIn(target, source, box, [&shape](DrawingWand* draw) { addShape(draw, shape); });
}
