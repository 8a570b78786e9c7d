#include "render/effects/effect_helpers.h"

#include <algorithm>

#include "render/image.h"

float aspectRatio(const EffectContext& ctx) { return aspectRatioOf(ctx.W, ctx.H); }

float aspectRatioOf(int W, int H) { return static_cast<float>(static_cast<double>(H) / W); }

WandPtr cloneWand(MagickWand* wand) { return WandPtr(CloneMagickWand(wand)); }

WandPtr cloneCanvas(const EffectContext& ctx) { return cloneWand(ctx.canvas); }

WandPtr newCanvasOf(int width, int height, const char* color) {
    return WandPtr(newCanvas(width, height, color));
}

WandPtr cropCopy(MagickWand* source, int x, int y, int width, int height) {
    int sourceWidth = static_cast<int>(MagickGetImageWidth(source));
    int sourceHeight = static_cast<int>(MagickGetImageHeight(source));
    int left = std::max(x, 0);
    int top = std::max(y, 0);
    int right = std::min(x + width, sourceWidth);
    int bottom = std::min(y + height, sourceHeight);
    // ImageMagick reads a zero width or height as "all of it", so an empty
    // rectangle must never reach it.
    if (right <= left || bottom <= top) return nullptr;
    WandPtr copy = cloneWand(source);
    MagickCropImage(copy.get(), right - left, bottom - top, left, top);
    MagickResetImagePage(copy.get(), nullptr);
    return copy;
}

WandPtr resizedCopy(MagickWand* source, int width, int height) {
    if (width < 1 || height < 1) return nullptr;
    WandPtr copy = cloneWand(source);
    MagickResizeImage(copy.get(), width, height, LanczosFilter, 1.0);
    return copy;
}

void compositeOver(MagickWand* target, MagickWand* source, int x, int y) {
    if (source) MagickCompositeImage(target, source, OverCompositeOp, x, y);
}

void compositePiece(MagickWand* target, MagickWand* source, const Piece& piece) {
    // cropCopy clips to the source; what it cut off on the left or top
    // shifts the rest so every pixel still lands where the piece puts it.
    int left = std::max(piece.x, 0);
    int top = std::max(piece.y, 0);
    WandPtr cut = cropCopy(source, piece.x, piece.y, piece.width, piece.height);
    compositeOver(target, cut.get(), piece.atX + left - piece.x, piece.atY + top - piece.y);
}

void setOpacity(MagickWand* wand, double opacity) { MagickSetImageOpacity(wand, opacity); }

void fillShape(MagickWand* target, MagickWand* source,
               const std::function<void(DrawingWand*)>& drawShape) {
    // The shape is drawn on a transparent mask, whose alpha is then the
    // shape's coverage; that becomes the source copy's alpha, so laying the
    // copy Over the target blends exactly as a drawing filled with the source
    // would. (Coverage taken from a grey mask's intensity would pass through
    // the sRGB curve and thin the anti-aliased edge.)
    int width = static_cast<int>(MagickGetImageWidth(target));
    int height = static_cast<int>(MagickGetImageHeight(target));
    WandPtr mask = newCanvasOf(width, height, "none");
    DrawingWandPtr draw(NewDrawingWand());
    PixelWandPtr white = newPixelWand("#ffffff");
    PixelWandPtr none = newPixelWand("none");
    DrawSetFillColor(draw.get(), white.get());
    // No outline, but the default stroke width stays: ImageMagick sizes a
    // filled shape's anti-aliased edge by it.
    DrawSetStrokeColor(draw.get(), none.get());
    drawShape(draw.get());
    MagickDrawImage(mask.get(), draw.get());
    WandPtr fill = cloneWand(source);
    MagickSetImageAlphaChannel(fill.get(), OpaqueAlphaChannel);
    MagickCompositeImage(fill.get(), mask.get(), CopyOpacityCompositeOp, 0, 0);
    MagickCompositeImage(target, fill.get(), OverCompositeOp, 0, 0);
}

void fillShape(MagickWand* target, MagickWand* source, const Shape& shape) {
    if (shape.empty()) return;
    fillShape(target, source, [&shape](DrawingWand* draw) { addShape(draw, shape); });
}
