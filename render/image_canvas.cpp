#include "render/image.h"

#include <cmath>
#include <cstdlib>

#include "render/image_resize.h"
#include "render/wand_ptr.h"

namespace {

// Integer part plus one when the fraction is one half or more.
int roundHalfUp(float value) {
    float whole = std::floor(value);
    return static_cast<int>(whole) + (value - whole >= 0.5f ? 1 : 0);
}

void resizeLanczos(MagickWand* wand, int width, int height) {
    lanczosResize(wand, width, height);
}

} // namespace

MagickWand* newCanvas(int width, int height, const char* color) {
    MagickWand* canvas = NewMagickWand();
    PixelWandPtr fill = newPixelWand(color);
    MagickNewImage(canvas, width, height, fill.get());
    return canvas;
}

MagickWand* newWhiteCanvasWith(int width, int height, MagickWand* image, int x, int y) {
    MagickWand* canvas = newCanvas(width, height, "#FFFFFF");
    MagickCompositeImage(canvas, image, OverCompositeOp, x, y);
    return canvas;
}

MagickWand* blendOnWhiteCanvas(int width, int height, MagickWand* top, MagickWand* base,
                               double opacity) {
    MagickWand* canvas = newCanvas(width, height, "#FFFFFF");
    MagickCompositeImage(canvas, base, OverCompositeOp, 0, 0);
    MagickSetImageOpacity(top, opacity);
    MagickCompositeImage(canvas, top, OverCompositeOp, 0, 0);
    return canvas;
}

MagickWand* zoomOnWhiteCanvas(int W, int H, MagickWand* picture, int delta) {
    WandPtr copy(CloneMagickWand(picture));
    MagickWand* canvas = newCanvas(W, H, "#FFFFFF");
    int w = static_cast<int>(MagickGetImageWidth(picture)) + delta;
    float ratio = static_cast<float>(static_cast<double>(H) / W);
    float grow = ratio * delta;
    float whole = std::floor(grow);
    int h = static_cast<int>(MagickGetImageHeight(picture) + grow) +
            (grow - whole >= 0.5f ? 1 : 0);
    resizeLanczos(copy.get(), w < 1 ? 1 : w, h < 1 ? 1 : h);
    MagickCompositeImage(canvas, copy.get(), OverCompositeOp, -(std::abs(W - w) / 2),
                         -(std::abs(H - h) / 2));
    return canvas;
}

MagickWand* fitOnBackground(int W, int H, MagickWand* picture, const char* color) {
    int pw = static_cast<int>(MagickGetImageWidth(picture));
    int ph = static_cast<int>(MagickGetImageHeight(picture));
    MagickWand* canvas = newCanvas(W, H, color);
    if (pw == W && ph == H) {
        MagickCompositeImage(canvas, picture, OverCompositeOp, 0, 0);
        return canvas;
    }
    if (pw > W || ph > H) {
        float rH = static_cast<float>(static_cast<double>(H) / ph);
        int nw = roundHalfUp(rH * pw);
        if (nw < W) {
            resizeLanczos(picture, nw > 0 ? nw : 1, H);
        } else {
            float rW = static_cast<float>(static_cast<double>(W) / pw);
            int nh = roundHalfUp(ph * rW);
            resizeLanczos(picture, W, nh > 0 ? nh : 1);
        }
    }
    int width = static_cast<int>(MagickGetImageWidth(picture));
    int height = static_cast<int>(MagickGetImageHeight(picture));
    MagickCompositeImage(canvas, picture, OverCompositeOp, (W - width) / 2, (H - height) / 2);
    return canvas;
}
