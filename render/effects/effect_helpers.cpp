#include "render/effects/effect_helpers.h"

#include <algorithm>

#include "render/image.h"
#include "render/image_resize.h"

float aspectRatio(const EffectContext& ctx) { return aspectRatioOf(ctx.W, ctx.H); }

float aspectRatioOf(int W, int H) { return static_cast<float>(static_cast<double>(H) / W); }

int ceilDivide(int a, int b) { return a / b + (a % b != 0 ? 1 : 0); }

std::vector<int> stepMultiples(int count, int step) {
    std::vector<int> multiples;
    for (int k = 1; k < count; ++k) multiples.push_back(k * step);
    return multiples;
}

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
    lanczosResize(copy.get(), width, height);
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
