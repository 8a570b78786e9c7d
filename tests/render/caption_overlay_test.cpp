// Caption placement is checked as relations between the caption image and
// the frame, so the tests hold whatever the installed font measures.
#include <gtest/gtest.h>

#include <algorithm>

#include "effect_harness.h"
#include "foundation/globals.h"
#include "render/caption_overlay.h"
#include "render/font_map.h"

using namespace harness;

namespace {

struct Placed {
    double x, y;
    int width, height;
};

Placed place(int W, int H, int position, bool boxed = true, const std::string& text = "新品上市 A1") {
    auto caption = makeCaptionImage(W, H, text, boxed ? "#000000" : "#ffffff", "#ffffff",
                                    captionFontPath("黑体"), 24, position, false);
    return {caption->x, caption->y, static_cast<int>(MagickGetImageWidth(caption->wand.get())),
            static_cast<int>(MagickGetImageHeight(caption->wand.get()))};
}

double alphaAt(MagickWand* wand, int x, int y) {
    PixelWandPtr pixel(NewPixelWand());
    MagickGetImagePixelColor(wand, x, y, pixel.get());
    return PixelGetAlpha(pixel.get());
}

} // namespace

TEST(CaptionOverlay, PlacementOnA400FrameWithTheInitialMargins) {
    Placed inset = place(400, 400, 5);
    EXPECT_EQ(inset.x, 24);
    EXPECT_EQ(inset.y, 24);
    Placed centre = place(400, 400, 4);
    EXPECT_EQ(centre.width, inset.width);
    EXPECT_EQ(centre.x, 200 - centre.width / 2);
    EXPECT_EQ(centre.y, 400 - centre.height - 60);
    Placed leftBottom = place(400, 400, 6);
    EXPECT_EQ(leftBottom.y, 400 - leftBottom.height - 24);
    Placed rightTop = place(400, 400, 7);
    EXPECT_EQ(rightTop.x, 400 - rightTop.width - 24);
    // Flush captions widen their box by six pixels towards the edge.
    Placed flushLeft = place(400, 400, 0);
    EXPECT_EQ(flushLeft.x, 0);
    EXPECT_EQ(flushLeft.y, 24);
    EXPECT_EQ(flushLeft.width, inset.width + 6);
    Placed flushRight = place(400, 400, 3);
    EXPECT_EQ(flushRight.x, 400 - flushRight.width);
    EXPECT_EQ(flushRight.y, 400 - flushRight.height - 24);
}

TEST(CaptionOverlay, MarginsScaleWithTheFrame) {
    Placed inset = place(800, 800, 5);
    EXPECT_EQ(inset.x, 48);
    EXPECT_EQ(inset.y, 48);
    Placed flushRight = place(800, 800, 3);
    EXPECT_EQ(flushRight.width, inset.width + 12);
    EXPECT_EQ(flushRight.x, 800 - flushRight.width);
    Placed wide = place(1280, 720, 5);
    EXPECT_DOUBLE_EQ(wide.x, 24 * 3.2);
    EXPECT_DOUBLE_EQ(wide.y, 24 * 1.8);
    // The centre-bottom margin scales with the height, not the width.
    Placed centre = place(1280, 720, 4);
    EXPECT_EQ(centre.x, 640 - centre.width / 2);
    EXPECT_DOUBLE_EQ(centre.y, 720 - centre.height - 60 * 1.8);
}

TEST(CaptionOverlay, FlushBoxedTextKeepsItsInsetAwayFromTheEdge) {
    // The box of a flush caption reaches the frame edge; on its other side
    // the text keeps the box's inset of six pixels plus one.
    struct Case {
        int W, H, position;
        bool textOnTheRight;  // flush left: the text is anchored on the right
    } cases[] = {{400, 400, 0, true},  {400, 400, 1, true},  {400, 400, 2, false},
                 {400, 400, 3, false}, {1280, 720, 3, false}, {800, 800, 1, true}};
    for (const Case& c : cases) {
        auto caption = makeCaptionImage(c.W, c.H, "新品上市", "#000000", "#ffffff",
                                        captionFontPath("黑体"), 24, c.position, false);
        Frame image = frameOf(caption->wand.get());
        int first = image.width, last = -1;
        for (int x = 0; x < image.width; ++x)
            for (int y = 0; y < image.height; ++y)
                if (image.at(x, y).r > 128) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        ASSERT_LT(first, last) << "text drawn at position " << c.position;
        int gap = c.textOnTheRight ? image.width - 1 - last : first;
        SCOPED_TRACE(::testing::Message() << c.W << "x" << c.H << " position " << c.position);
        EXPECT_GE(gap, 7) << gap;
        EXPECT_LE(gap, 10);
    }
}

TEST(CaptionOverlay, MarginsComeFromTheGlobalFractions) {
    CaptionMargins saved = captionMargins;
    captionMargins.left = 0.1f;
    captionMargins.top = 0.2f;
    captionMargins.centerBottom = 0.25f;
    Placed inset = place(400, 400, 5);
    EXPECT_EQ(inset.x, 40);
    EXPECT_EQ(inset.y, 80);
    Placed centre = place(400, 400, 4);
    EXPECT_EQ(centre.y, 400 - centre.height - 100);
    captionMargins = saved;
}

TEST(CaptionOverlay, PositionsOutsideTheComboArePlacedAtTheCentre) {
    Placed centre = place(400, 400, 4);
    for (int position : {9, -1, 1000}) {
        Placed other = place(400, 400, position);
        EXPECT_EQ(other.x, centre.x) << position;
        EXPECT_EQ(other.y, centre.y) << position;
    }
}

TEST(CaptionOverlay, EveryPositionLiesInsideTheFrame) {
    const int sizes[][2] = {{256, 256}, {1280, 720}, {540, 720}, {1080, 1440}};
    for (const auto& size : sizes)
        for (int position = 0; position <= 8; ++position)
            for (bool boxed : {true, false}) {
                Placed p = place(size[0], size[1], position, boxed);
                SCOPED_TRACE(::testing::Message() << size[0] << "x" << size[1] << " position "
                                                  << position << (boxed ? " boxed" : ""));
                EXPECT_GE(p.x, 0);
                EXPECT_GE(p.y, 0);
                EXPECT_LE(p.x + p.width, size[0]);
                EXPECT_LE(p.y + p.height, size[1]);
            }
}

TEST(CaptionOverlay, BoxedCaptionIsOpaqueBoxColour) {
    auto caption = makeCaptionImage(400, 400, "文字", "#ff0000", "#ffffff", captionFontPath("黑体"),
                                    24, 4, false);
    EXPECT_EQ(caption->transparent, 0);
    EXPECT_EQ(pixelOf(caption->wand.get(), 1, 1), kRed);
    EXPECT_DOUBLE_EQ(alphaAt(caption->wand.get(), 1, 1), 1.0);
}

TEST(CaptionOverlay, CaptionWithoutBoxIsOutlinedInTheContrastingColour) {
    auto outlineOf = [](const char* textColor) {
        auto caption = makeCaptionImage(400, 400, "文字", textColor, textColor,
                                        captionFontPath("黑体"), 24, 4, false);
        EXPECT_EQ(caption->transparent, 1);
        MagickWand* wand = caption->wand.get();
        EXPECT_DOUBLE_EQ(alphaAt(wand, 0, 0), 0.0) << "the ground is transparent";
        // The outline is the set of opaque pixels that are not the text colour.
        int width = static_cast<int>(MagickGetImageWidth(wand));
        int height = static_cast<int>(MagickGetImageHeight(wand));
        int black = 0, white = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                if (alphaAt(wand, x, y) < 0.99) continue;
                Rgb pixel = pixelOf(wand, x, y);
                black += pixel == kBlack;
                white += pixel == rgbOf("#ffffff");
            }
        return std::make_pair(black, white);
    };
    auto whiteText = outlineOf("#ffffff");
    EXPECT_GT(whiteText.first, 0) << "white text has a black outline";
    auto redText = outlineOf("#ff0000");
    EXPECT_GT(redText.second, 0) << "other text has a white outline";
    EXPECT_EQ(redText.first, 0);
}

TEST(CaptionOverlay, PercentAndAtSignsAreDrawnAsText) {
    // Were they read as ImageMagick escapes, "%w" would measure as the width digits.
    Placed escaped = place(400, 400, 5, true, "%w%h");
    Placed plain = place(400, 400, 5, true, "%x%y");
    EXPECT_NEAR(escaped.width, plain.width, 12);
    Placed at = place(400, 400, 5, true, "@/etc/hostname");
    EXPECT_GT(at.width, 100);
}
