#include "render/image.h"

#include <cmath>
#include <cstdlib>

#include "render/magick_mirror/image_composite.h"
#include "render/magick_mirror/image_resize.h"
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
    return newCanvasWithImageOver(width, height, "#FFFFFF", image, x, y);
}

MagickWand* blendOnWhiteCanvas(int width, int height, MagickWand* top, MagickWand* base,
                               double opacity) {
    MagickWand* canvas = newCanvasWithImageOver(width, height, "#FFFFFF", base, 0, 0);
    MagickSetImageOpacity(top, opacity);
    compositeImageOver(canvas, top, 0, 0);
    return canvas;
}

MagickWand* zoomOnWhiteCanvas(int W, int H, MagickWand* picture, int delta) {
    WandPtr copy(CloneMagickWand(picture));
    int w = static_cast<int>(MagickGetImageWidth(picture)) + delta;
    float ratio = static_cast<float>(static_cast<double>(H) / W);
    float grow = ratio * delta;
    float whole = std::floor(grow);
    int h = static_cast<int>(MagickGetImageHeight(picture) + grow) +
            (grow - whole >= 0.5f ? 1 : 0);
    resizeLanczos(copy.get(), w < 1 ? 1 : w, h < 1 ? 1 : h);
    return newCanvasWithImageOver(W, H, "#FFFFFF", copy.get(), -(std::abs(W - w) / 2),
                                  -(std::abs(H - h) / 2));
}

MagickWand* fitOnBackground(int W, int H, MagickWand* picture, const char* color) {
    int pw = static_cast<int>(MagickGetImageWidth(picture));
    int ph = static_cast<int>(MagickGetImageHeight(picture));
    if (pw == W && ph == H) return newCanvasWithImageOver(W, H, color, picture, 0, 0);
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
    return newCanvasWithImageOver(W, H, color, picture, (W - width) / 2, (H - height) / 2);
}
