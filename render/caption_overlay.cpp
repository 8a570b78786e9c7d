#include "render/caption_overlay.h"

#include <cmath>


namespace {

// Metric elements of MagickQueryFontMetrics.
constexpr int kAscent = 2;
constexpr int kDescent = 3;
constexpr int kOriginX = 11;

// The caption image's placement on the frame and the anchoring of its text.
struct CaptionPlacement {
    double x, y;
    int width;
    GravityType gravity;
};

// Margins are whole units of 1/400 of the frame.
int marginUnits(float fraction) { return static_cast<int>(fraction * 400); }

CaptionPlacement placeCaption(int W, int H, int o, int t, bool boxed, int position,
                              const CaptionMargins& margins) {
    double sx = W / 400.0;
    double sy = H / 400.0;
    int mt = marginUnits(margins.top);
    int mb = marginUnits(margins.bottom);
    int ml = marginUnits(margins.left);
    int mr = marginUnits(margins.right);
    int mc = marginUnits(margins.centerBottom);
    double top = sy * mt;
    double bottom = (H - t) - sy * mb;
    double right = (W - o) - sx * mr;
    // Flush captions reach the frame edge; their box runs past the text by
    // six scaled pixels on that side.
    int flush = boxed ? static_cast<int>(o + 6 * sx) : o;
    switch (position) {
    case 0: return {0, top, flush, EastGravity};
    case 1: return {0, bottom, flush, EastGravity};
    case 2: return {static_cast<double>(W - flush), top, flush, WestGravity};
    case 3: return {static_cast<double>(W - flush), bottom, flush, WestGravity};
    case 5: return {sx * ml, top, o, CenterGravity};
    case 6: return {sx * ml, bottom, o, CenterGravity};
    case 7: return {right, top, o, CenterGravity};
    case 8: return {right, bottom, o, CenterGravity};
    default: return {static_cast<double>(W / 2 - o / 2), (H - t) - sy * mc, o, CenterGravity};
    }
}

} // namespace

std::unique_ptr<CaptionOverlay> makeCaptionImage(int W, int H, const std::string& text,
                                                 const std::string& boxColor,
                                                 const std::string& textColor,
                                                 const std::string& fontPath, int fontSize,
                                                 int position, bool /*tmallMode*/,
                                                 const CaptionMargins& margins) {
    auto overlay = std::make_unique<CaptionOverlay>();
    bool boxed = boxColor != textColor;
    overlay->transparent = boxed ? 0 : 1;

    // Measure on a strip of the box colour, as the text will be drawn.
    WandPtr wand(NewMagickWand());
    PixelWandPtr ground(NewPixelWand());
    if (boxed) PixelSetColor(ground.get(), boxColor.c_str());
    MagickNewImage(wand.get(), 960, 1, ground.get());
    DrawingWandPtr draw(NewDrawingWand());
    if (!fontPath.empty()) DrawSetFont(draw.get(), fontPath.c_str());
    DrawSetFontSize(draw.get(), fontSize);
    std::unique_ptr<double, MagickMemoryDeleter> metrics(
        MagickQueryFontMetrics(wand.get(), draw.get(), text.c_str()));
    double advance = metrics ? metrics.get()[kOriginX] : 0;
    double height = metrics ? metrics.get()[kAscent] - metrics.get()[kDescent] : 0;

    int o = static_cast<int>(advance + 1);
    int t = static_cast<int>(height + 2) + (height != std::floor(height) ? 1 : 0);
    int inset = 0;
    if (boxed) {
        o += 1 + 12;
        t += 1 + 12;
        inset = 6;
    } else {
        o += 3;
        t += 3;
    }

    CaptionPlacement place = placeCaption(W, H, o, t, boxed, position, margins);
    overlay->x = place.x;
    overlay->y = place.y;
    DrawSetGravity(draw.get(), place.gravity);

    if (!boxed) {
        PixelSetOpacity(ground.get(), 0);
        PixelSetAlpha(ground.get(), 0);
    }
    MagickNewImage(wand.get(), place.width, t, ground.get());
    if (!boxed) {
        // An outline of the contrasting colour keeps boxless text readable
        // on any picture.
        PixelWandPtr outline = newPixelWand(textColor == "#ffffff" ? "#000000" : "#ffffff");
        DrawSetFillColor(draw.get(), outline.get());
        static const int offsets[4][2] = {{0, 1}, {1, 0}, {2, 1}, {1, 2}};
        for (const auto& offset : offsets)
            MagickAnnotateImage(wand.get(), draw.get(), offset[0], offset[1], 0, text.c_str());
    }
    PixelWandPtr ink = newPixelWand(textColor.c_str());
    DrawSetFillColor(draw.get(), ink.get());
    int textX = position >= 0 && position <= 3 ? inset + 1 : 1;
    MagickAnnotateImage(wand.get(), draw.get(), textX, 1, 0, text.c_str());

    if (boxColor == "#ff619d") MagickSharpenImage(wand.get(), 10, 10);
    overlay->wand = std::move(wand);
    return overlay;
}
