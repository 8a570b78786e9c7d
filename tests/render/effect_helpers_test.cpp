#include <gtest/gtest.h>

#include "effect_harness.h"
#include "render/effects/effect_helpers.h"

using namespace harness;

TEST(EffectHelpers, CropIsClippedToTheSourceAndNeverEmpty) {
    WandPtr source = positionCodedCanvas(100, 80);
    WandPtr inside = cropCopy(source.get(), 10, 20, 30, 40);
    ASSERT_NE(inside, nullptr);
    EXPECT_EQ(MagickGetImageWidth(inside.get()), 30u);
    EXPECT_EQ(MagickGetImageHeight(inside.get()), 40u);
    EXPECT_EQ(positionOf(pixelOf(inside.get(), 0, 0)), (Point{10, 20}));
    size_t width = 0, height = 0;
    ssize_t x = 0, y = 0;
    MagickGetImagePage(inside.get(), &width, &height, &x, &y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);

    WandPtr overhanging = cropCopy(source.get(), -5, 70, 20, 20);
    ASSERT_NE(overhanging, nullptr);
    EXPECT_EQ(MagickGetImageWidth(overhanging.get()), 15u);
    EXPECT_EQ(MagickGetImageHeight(overhanging.get()), 10u);
    EXPECT_EQ(positionOf(pixelOf(overhanging.get(), 0, 0)), (Point{0, 70}));

    EXPECT_EQ(cropCopy(source.get(), 0, 0, 0, 10), nullptr);
    EXPECT_EQ(cropCopy(source.get(), 0, 0, 10, -1), nullptr);
    EXPECT_EQ(cropCopy(source.get(), 100, 0, 10, 10), nullptr);
    EXPECT_EQ(cropCopy(source.get(), -20, 0, 20, 10), nullptr);
}

TEST(EffectHelpers, ResizeNeedsAPositiveSizeAndCompositeSkipsNothing) {
    WandPtr source = solidCanvas(40, 40, "#ff0000");
    EXPECT_EQ(resizedCopy(source.get(), 0, 10), nullptr);
    WandPtr small = resizedCopy(source.get(), 7, 3);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(MagickGetImageWidth(small.get()), 7u);
    WandPtr target = solidCanvas(20, 20, "#0000ff");
    compositeOver(target.get(), nullptr, 0, 0);
    compositeOver(target.get(), small.get(), -2, 18);
    EXPECT_EQ(pixelOf(target.get(), 0, 19), kRed);
    EXPECT_EQ(pixelOf(target.get(), 0, 17), kBlue);
    EXPECT_EQ(pixelOf(target.get(), 5, 19), kBlue);
}

TEST(EffectHelpers, OpacityReplacesRatherThanMultiplies) {
    WandPtr top = solidCanvas(4, 4, "#ff0000");
    setOpacity(top.get(), 0.2);
    setOpacity(top.get(), 0.5);
    WandPtr base = solidCanvas(4, 4, "#0000ff");
    compositeOver(base.get(), top.get(), 0, 0);
    EXPECT_TRUE(near(pixelOf(base.get(), 1, 1), {128, 0, 128}));
}

TEST(EffectHelpers, ShapeFillMatchesAShapeDrawnInTheSourceColour) {
    // With a flat source the fill must equal drawing the shape in that colour:
    // same coverage, same anti-aliased edge, nothing outside touched.
    auto shapes = [](DrawingWand* draw) {
        DrawCircle(draw, 30, 30, 30, 12);
        const PointInfo triangle[] = {{60, 5}, {95, 40}, {60, 40}};
        DrawPolygon(draw, 3, triangle);
        DrawRectangle(draw, 10, 60, 19, 69);
    };
    WandPtr filled = solidCanvas(100, 80, "#0000ff");
    WandPtr source = solidCanvas(100, 80, "#ff0000");
    fillShape(filled.get(), source.get(), shapes);

    WandPtr drawn = solidCanvas(100, 80, "#0000ff");
    DrawingWandPtr draw(NewDrawingWand());
    PixelWandPtr red = newPixelWand("#ff0000");
    PixelWandPtr none = newPixelWand("none");
    DrawSetFillColor(draw.get(), red.get());
    DrawSetStrokeColor(draw.get(), none.get());
    shapes(draw.get());
    MagickDrawImage(drawn.get(), draw.get());

    Frame a = frameOf(filled.get());
    Frame b = frameOf(drawn.get());
    int different = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 100; ++x) different += !near(a.at(x, y), b.at(x, y), 1);
    EXPECT_EQ(different, 0);
    EXPECT_EQ(a.at(30, 30), kRed);
    EXPECT_EQ(a.at(10, 60), kRed) << "integer corners are pixel centres";
    EXPECT_EQ(a.at(20, 70), kBlue);
    EXPECT_EQ(a.at(99, 79), kBlue);
}

TEST(EffectHelpers, ShapeFillTakesTheSourcePixelAtTheSamePlace) {
    WandPtr target = solidCanvas(300, 300, "#000000");
    WandPtr source = positionCodedCanvas(300, 300);
    fillShape(target.get(), source.get(), [](DrawingWand* draw) {
        DrawRectangle(draw, 100, 100, 280, 290);
    });
    EXPECT_EQ(positionOf(pixelOf(target.get(), 150, 120)), (Point{150, 120}));
    EXPECT_EQ(positionOf(pixelOf(target.get(), 270, 260)), (Point{270, 260}));
    EXPECT_EQ(pixelOf(target.get(), 50, 50), kBlack);
}

TEST(EffectHelpers, BlackStandInIsOwnedLikeAnyPreviousFrame) {
    EffectContext ctx;
    ctx.W = 32;
    ctx.H = 16;
    MagickWand* standIn = previousOrBlack(ctx);
    ASSERT_NE(standIn, nullptr);
    EXPECT_EQ(previousOrBlack(ctx), standIn) << "made once";
    EXPECT_EQ(MagickGetImageWidth(standIn), 32u);
    EXPECT_EQ(pixelOf(standIn, 31, 15), kBlack);
    EXPECT_FLOAT_EQ(aspectRatio(ctx), 0.5f);
}

TEST(EffectHelpers, PieceLandsEachPixelWhereItIsPlacedEvenWhenClipped) {
    WandPtr source = positionCodedCanvas(100, 80);
    WandPtr target = solidCanvas(100, 80, "#000000");
    compositePiece(target.get(), source.get(), {10, 20, 30, 5, 60, 70});
    EXPECT_EQ(positionOf(pixelOf(target.get(), 60, 70)), (Point{10, 20}));
    EXPECT_EQ(positionOf(pixelOf(target.get(), 89, 74)), (Point{39, 24}));
    EXPECT_EQ(pixelOf(target.get(), 90, 74), kBlack);
    EXPECT_EQ(pixelOf(target.get(), 60, 75), kBlack);

    // Columns -5 .. 4 exist only from 0 on, and land 5 further right.
    WandPtr clipped = solidCanvas(100, 80, "#000000");
    compositePiece(clipped.get(), source.get(), {-5, 3, 10, 10, 50, 50});
    EXPECT_EQ(pixelOf(clipped.get(), 54, 50), kBlack);
    EXPECT_EQ(positionOf(pixelOf(clipped.get(), 55, 50)), (Point{0, 3}));
    EXPECT_EQ(positionOf(pixelOf(clipped.get(), 59, 59)), (Point{4, 12}));

    WandPtr untouched = solidCanvas(100, 80, "#000000");
    compositePiece(untouched.get(), source.get(), {10, 10, 0, 10, 0, 0});
    compositePiece(untouched.get(), source.get(), {10, 10, 10, -3, 0, 0});
    EXPECT_EQ(frameOf(untouched.get()), frameOf(solidCanvas(100, 80, "#000000").get()));
}
