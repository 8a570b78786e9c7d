#include "render/effects/effect_helpers.h"

#include <algorithm>

#include "render/image.h"
#include "render/magick_mirror/image_composite.h"
#include "render/magick_mirror/image_resize.h"

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

namespace {

// The part of (x, y, width, height) inside source; empty when none is.
struct SourcePart {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
};

SourcePart partInside(MagickWand* source, int x, int y, int width, int height) {
    int sourceWidth = static_cast<int>(MagickGetImageWidth(source));
    int sourceHeight = static_cast<int>(MagickGetImageHeight(source));
    return {std::max(x, 0), std::max(y, 0), std::min(x + width, sourceWidth),
            std::min(y + height, sourceHeight)};
}

} // namespace

WandPtr cropCopy(MagickWand* source, int x, int y, int width, int height) {
    SourcePart part = partInside(source, x, y, width, height);
    // ImageMagick reads a zero width or height as "all of it", so an empty
    // rectangle must never reach it.
    if (part.empty()) return nullptr;
    WandPtr copy = cloneWand(source);
    MagickCropImage(copy.get(), part.right - part.left, part.bottom - part.top, part.left,
                    part.top);
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
    if (source) compositeImageOver(target, source, x, y);
}

void compositePiece(MagickWand* target, MagickWand* source, const Piece& piece) {
    // Only the part inside the source is laid; what is cut off on the left
    // or top shifts the rest so every pixel still lands where the piece puts it.
    SourcePart part = partInside(source, piece.x, piece.y, piece.width, piece.height);
    if (part.empty()) return;
    int atX = piece.atX + part.left - piece.x;
    int atY = piece.atY + part.top - piece.y;
    if (compositePartOver(target, source, part.left, part.top, part.right - part.left,
                          part.bottom - part.top, atX, atY) != PartOver::Declined)
        return;
    WandPtr cut = cropCopy(source, piece.x, piece.y, piece.width, piece.height);
    compositeOver(target, cut.get(), atX, atY);
}

void setOpacity(MagickWand* wand, double opacity) { MagickSetImageOpacity(wand, opacity); }
