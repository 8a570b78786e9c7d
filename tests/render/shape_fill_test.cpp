// The shape builders and the shape fill that the masked effects share.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "effect_harness.h"
#include "imagemagick_comparison.h"
#include "render/effects/effect_helpers.h"
#include "render/magick_mirror/shape_raster.h"

using namespace harness;

namespace {

// The shape drawn in a flat colour, as a drawing with the fill pattern
// would draw it with a flat source.
WandPtr drawnInColour(int width, int height, const char* ground, const char* colour,
                      const Shape& shape) {
    WandPtr image = solidCanvas(width, height, ground);
    DrawingWandPtr draw(NewDrawingWand());
    PixelWandPtr fill = newPixelWand(colour);
    PixelWandPtr none = newPixelWand("none");
    DrawSetFillColor(draw.get(), fill.get());
    DrawSetStrokeColor(draw.get(), none.get());
    addShape(draw.get(), shape);
    MagickDrawImage(image.get(), draw.get());
    return image;
}

// The shape fill done the slow, plain way: the shape's coverage becomes a
// copy of the source's alpha, laid Over the target by ImageMagick.
void fillByComposite(MagickWand* target, MagickWand* source, const Shape& shape) {
    WandPtr mask = solidCanvas(static_cast<int>(MagickGetImageWidth(target)),
                               static_cast<int>(MagickGetImageHeight(target)), "none");
    DrawingWandPtr draw(NewDrawingWand());
    PixelWandPtr white = newPixelWand("#ffffff");
    PixelWandPtr none = newPixelWand("none");
    DrawSetFillColor(draw.get(), white.get());
    DrawSetStrokeColor(draw.get(), none.get());
    addShape(draw.get(), shape);
    MagickDrawImage(mask.get(), draw.get());
    WandPtr fill(CloneMagickWand(source));
    MagickSetImageAlphaChannel(fill.get(), OpaqueAlphaChannel);
    MagickCompositeImage(fill.get(), mask.get(), CopyOpacityCompositeOp, 0, 0);
    MagickCompositeImage(target, fill.get(), OverCompositeOp, 0, 0);
}

// Every channel, alpha included, at full depth.
std::vector<unsigned short> deepPixels(MagickWand* wand) {
    std::size_t width = MagickGetImageWidth(wand), height = MagickGetImageHeight(wand);
    std::vector<unsigned short> pixels(width * height * 4);
    MagickExportImagePixels(wand, 0, 0, width, height, "RGBA", ShortPixel, pixels.data());
    return pixels;
}

// The opacity of the mask ImageMagick draws for the shape on a transparent
// width x height box whose corner is (x, y), as the fill draws it.
std::vector<Quantum> drawnMaskOpacity(const Shape& shape, int x, int y, int width, int height) {
    WandPtr mask = solidCanvas(width, height, "none");
    DrawingWandPtr draw(NewDrawingWand());
    PixelWandPtr white = newPixelWand("#ffffff");
    PixelWandPtr none = newPixelWand("none");
    DrawSetFillColor(draw.get(), white.get());
    DrawSetStrokeColor(draw.get(), none.get());
    DrawTranslate(draw.get(), -x, -y);
    addShape(draw.get(), shape);
    MagickDrawImage(mask.get(), draw.get());
    std::vector<Quantum> alpha(static_cast<std::size_t>(width) * height);
    MagickExportImagePixels(mask.get(), 0, 0, width, height, "A", ShortPixel, alpha.data());
    for (Quantum& a : alpha) a = QuantumRange - a;
    return alpha;
}

// Shapes of every kind at random: coordinates whole, half or anywhere, from
// well inside the box to far outside it, sizes from a fraction of a pixel
// to several boxes.
class RandomShapes {
public:
    explicit RandomShapes(unsigned seed) : random_(seed) {}

    int between(int from, int to) { return std::uniform_int_distribution<int>(from, to)(random_); }
    double real(double from, double to) {
        return std::uniform_real_distribution<double>(from, to)(random_);
    }
    double coordinate(double from, double to) {
        double v = real(from, to);
        switch (between(0, 3)) {
        case 0: return std::round(v);
        case 1: return std::round(v * 2) / 2;
        default: return v;
        }
    }
    double size(double largest) { return between(0, 3) == 0 ? real(0, 3) : real(0, largest); }

    ShapePart part(int W, int H) {
        double x = coordinate(-0.3 * W, 1.3 * W), y = coordinate(-0.3 * H, 1.3 * H);
        switch (between(0, 3)) {
        case 0: {
            std::vector<std::vector<ShapePoint>> rings(between(1, 3));
            double spread = size(W);
            for (std::vector<ShapePoint>& ring : rings)
                for (int n = between(2, 7); n > 0; --n)
                    ring.push_back(
                        {x + coordinate(-spread, spread), y + coordinate(-spread, spread)});
            if (between(0, 5) == 0) rings.back().resize(1);  // a lone vertex, last
            return polygons(rings);
        }
        case 1: {
            double x1 = between(0, 4) == 0 ? x : x + coordinate(-W, W);
            double y1 = between(0, 4) == 0 ? y : y + coordinate(-H, H);
            return rectangle(x, y, x1, y1);
        }
        case 2: {
            double radius = size(W), angle = real(0, 7);
            return circleThrough(x, y, x + radius * std::cos(angle), y + radius * std::sin(angle));
        }
        }
        double start = between(0, 1) ? between(0, 8) * 45.0 : real(0, 360);
        double sweep = between(0, 3) == 0 ? between(0, 8) * 45.0 : real(0, 360);
        return pieSlice(x, y, size(1.2 * W), start, start + sweep);
    }

private:
    std::mt19937 random_;
};

int firstDifference(const ShapeMask& a, const std::vector<Quantum>& b) {
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return static_cast<int>(i);
    return -1;
}

int differingPixels(const Frame& a, const Frame& b, int tolerance) {
    int different = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) different += !near(a.at(x, y), b.at(x, y), tolerance);
    return different;
}

} // namespace

TEST(ShapeBuilders, PieSliceTurnsClockwiseFromThreeOClock) {
    PieSlice quarter = pieSlice(100, 80, 50, 270, 360);  // 12 o'clock to 3 o'clock
    EXPECT_NEAR(quarter.start.x, 100, 1e-5);
    EXPECT_NEAR(quarter.start.y, 30, 1e-5);
    EXPECT_NEAR(quarter.end.x, 150, 1e-4);
    EXPECT_NEAR(quarter.end.y, 80, 1e-4);
    EXPECT_FALSE(quarter.largeArc);
    PieSlice down = pieSlice(0, 0, 10, 0, 90);
    EXPECT_NEAR(down.end.y, 10, 1e-5) << "90 degrees is 6 o'clock, y grows downwards";
    EXPECT_TRUE(pieSlice(0, 0, 10, 270, 450).largeArc) << "exactly 180 degrees";
    EXPECT_FALSE(pieSlice(0, 0, 10, 270, 449.9).largeArc);
    EXPECT_EQ(pieSlice(5, 6, 10, 0, 1).centre, (ShapePoint{5, 6}));
}

TEST(ShapeBuilders, PieSliceAnglesUseTheSevenDigitPi) {
    // 180 degrees with pi = 3.1415926 leaves the point a hair below the axis.
    PieSlice half = pieSlice(0, 0, 1e6, 180, 181);
    EXPECT_NEAR(half.start.y, 1e6 * std::sin(3.1415926), 1e-9);
    EXPECT_GT(half.start.y, 0.05);
}

TEST(ShapeBuilders, CirclesAndPolygonsKeepTheirGivenPoints) {
    EXPECT_DOUBLE_EQ(circleThrough(10, 10, 13, 14).radius(), 5);
    PolygonPath triangle = polygon({{0, 0}, {4, 0}, {0, 3}});
    ASSERT_EQ(triangle.rings.size(), 1u);
    EXPECT_EQ(triangle.rings[0][2], (ShapePoint{0, 3}));
    EXPECT_EQ(polygons({{{0, 0}, {1, 0}, {0, 1}}, {{5, 5}, {6, 5}, {5, 6}}}).rings.size(), 2u);
}

TEST(ShapeFill, EveryPartGivesThePixelsOfTheShapeDrawnInTheSourceColour) {
    const int W = 160, H = 120;
    const Shape shapes[] = {
        {polygons({{{80, 60}, {20, 0}, {140, 0}}, {{80, 60}, {0, 20}, {0, 100}}})},
        {rectangle(10, 60, 19, 69)},
        {circleThrough(80, 60, 105, 74.0625)},
        {pieSlice(80, 60, 100, 270, 270 + 3 * 19.8)},
        {pieSlice(80, 60, 100, 180, 180 + 200)},
        {pieSlice(80, 60, 100, 0, 30), pieSlice(80, 60, 100, 90, 120)},
    };
    WandPtr source = solidCanvas(W, H, "#ff0000");
    ImageMagickComparison draw("MagickDrawImage", "BD82DB6A2D4E8B9B62129E156412BBE1");
    for (std::size_t i = 0; i < std::size(shapes); ++i) {
        SCOPED_TRACE(i);
        WandPtr drawn = drawnInColour(W, H, "#0000ff", "#ff0000", shapes[i]);
        draw.reference(drawn.get());
        draw.compare([&] {
            WandPtr filled = solidCanvas(W, H, "#0000ff");
            fillShape(filled.get(), source.get(), shapes[i]);
            Frame actual = frameOf(filled.get());
            EXPECT_EQ(differingPixels(actual, frameOf(drawn.get()), 1), 0);
            // Something was filled, and not everything.
            EXPECT_GT(differingPixels(actual, frameOf(solidCanvas(W, H, "#0000ff").get()), 0), 0);
            EXPECT_GT(differingPixels(actual, frameOf(source.get()), 0), 0);
        });
    }
    if (std::string why = draw.judge(); !why.empty()) GTEST_SKIP() << why;
}

TEST(ShapeFill, InsideShowsTheSourcePixelAtTheSamePlaceOutsideStaysAndTheEdgeBlends) {
    const int W = 300, H = 280;
    WandPtr target = solidCanvas(W, H, "#000000");
    WandPtr source = positionCodedCanvas(W, H);
    fillShape(target.get(), source.get(), Shape{circleThrough(150, 140, 250, 140)});
    for (Point p : {Point{150, 140}, Point{60, 140}, Point{240, 150}, Point{150, 45}})
        EXPECT_EQ(positionOf(pixelOf(target.get(), p.x, p.y)), p);
    EXPECT_EQ(pixelOf(target.get(), 20, 20), kBlack);
    EXPECT_EQ(pixelOf(target.get(), 150, 260), kBlack);
    // Integer points are pixel centres: the rim's point at 3 o'clock is in.
    EXPECT_EQ(positionOf(pixelOf(target.get(), 250, 140)), (Point{250, 140}));
    EXPECT_EQ(pixelOf(target.get(), 252, 140), kBlack);
    // The rim between the axes is anti-aliased: partly source, partly black.
    Frame frame = frameOf(target.get());
    Frame picture = frameOf(source.get());
    int blended = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            Rgb seen = frame.at(x, y);
            blended += seen != kBlack && !near(seen, picture.at(x, y), 2);
        }
    EXPECT_GT(blended, 100);
}

TEST(ShapeFill, BlendsAsImageMagicksOverToTheLastBit) {
    const int W = 200, H = 150;
    const Shape shape = {circleThrough(90, 70, 150, 101.25), pieSlice(100, 75, 125, 200, 250),
                         polygons({{{10, 140}, {60, 100.5}, {70, 149}}})};
    WandPtr source = positionCodedCanvas(W, H);
    ImageMagickComparison drawAndCompose("MagickDrawImage and MagickCompositeImage",
                                         "F82A576895ABA445BECE3EC83B3C60F2");
    for (bool translucent : {false, true}) {
        SCOPED_TRACE(translucent ? "translucent target" : "opaque target");
        WandPtr fast = solidCanvas(W, H, "#3080c0");
        if (translucent) setOpacity(fast.get(), 0.4);
        WandPtr plain(CloneMagickWand(fast.get()));
        fillByComposite(plain.get(), source.get(), shape);
        drawAndCompose.reference(plain.get());
        drawAndCompose.compare([&] {
            fillShape(fast.get(), source.get(), shape);
            std::vector<unsigned short> a = deepPixels(fast.get()), b = deepPixels(plain.get());
            int different = 0;
            for (std::size_t i = 0; i < a.size(); ++i) different += a[i] != b[i];
            EXPECT_EQ(different, 0);
        });
    }
    if (std::string why = drawAndCompose.judge(); !why.empty()) GTEST_SKIP() << why;
}

TEST(ShapeBuilders, BoundsHoldEveryPartAndTheArcsBulge) {
    ShapeBounds box = shapeBounds({polygon({{3, 4}, {10, -2}, {7, 9}}), rectangle(-1, 0, 2, 3)});
    EXPECT_EQ(box.x0, -1);
    EXPECT_EQ(box.y0, -2);
    EXPECT_EQ(box.x1, 10);
    EXPECT_EQ(box.y1, 9);
    ShapeBounds circle = shapeBounds({circleThrough(50, 40, 53, 44)});
    EXPECT_DOUBLE_EQ(circle.x0, 45);
    EXPECT_DOUBLE_EQ(circle.y1, 45);
    // 12 to 3 o'clock: the quarter up and right of the centre.
    ShapeBounds quarter = shapeBounds({pieSlice(100, 100, 50, 270, 360)});
    EXPECT_NEAR(quarter.x0, 100, 1e-4);
    EXPECT_NEAR(quarter.x1, 150, 1e-4);
    EXPECT_NEAR(quarter.y0, 50, 1e-4);
    EXPECT_NEAR(quarter.y1, 100, 1e-4);
    // 1 to 5 o'clock bulges out to 3 o'clock.
    EXPECT_NEAR(shapeBounds({pieSlice(0, 0, 10, 300, 420)}).x1, 10, 1e-4);
    EXPECT_TRUE(shapeBounds({}).empty());
    EXPECT_TRUE(shapeBounds({polygons({})}).empty());
}

TEST(ShapeFill, ShapesReachingOutOfTheFrameAreCutAtItsEdges) {
    WandPtr target = solidCanvas(64, 48, "#000000");
    WandPtr source = solidCanvas(64, 48, "#ffffff");
    fillShape(target.get(), source.get(), Shape{circleThrough(-20, 24, 10, 24)});
    EXPECT_EQ(pixelOf(target.get(), 0, 24), rgbOf("#ffffff"));
    EXPECT_EQ(pixelOf(target.get(), 20, 24), kBlack);
    fillShape(target.get(), source.get(), Shape{rectangle(100, 100, 200, 200)});
    fillShape(target.get(), source.get(), Shape{rectangle(-50, -50, -10, -10)});
    EXPECT_EQ(pixelOf(target.get(), 63, 47), kBlack);
}

TEST(ShapeFill, EmptyShapeLeavesTheTargetAlone) {
    WandPtr target = positionCodedCanvas(64, 48);
    Frame before = frameOf(target.get());
    WandPtr source = solidCanvas(64, 48, "#ffffff");
    fillShape(target.get(), source.get(), Shape{});
    fillShape(target.get(), source.get(), Shape{polygons({})});
    EXPECT_EQ(frameOf(target.get()), before);
}

TEST(ShapeMask, IsImageMagicksOwnDrawingToTheLastBit) {
    struct Case {
        Shape shape;
        int x, y, width, height;
    };
    std::vector<Case> cases = {
        // A large circle's rim; a quarter-pixel radius; no radius.
        {{circleThrough(540, 720, 1140, 720)}, 400, 0, 200, 300},
        {{circleThrough(9.5, 7.25, 9.5, 7.5)}, 0, 0, 20, 16},
        {{circleThrough(5, 5, 5, 5)}, 0, 0, 10, 10},
        // Corners together (a point); no width, no height.
        {{rectangle(3.5, 4, 3.5, 4)}, 0, 0, 8, 8},
        {{rectangle(3, 1, 3, 9), rectangle(1, 5, 9, 5)}, 0, 0, 12, 12},
        // A large arc's rim; no sweep; all round; a radius below epsilon.
        {{pieSlice(540, 720, 900, 250, 330)}, 1100, 100, 200, 250},
        {{pieSlice(40, 30, 50, 270, 270)}, 0, 0, 80, 60},
        {{pieSlice(40, 30, 50, 90, 450)}, 0, 0, 80, 60},
        {{pieSlice(0, 0, 1e-13, 0, 90)}, -2, -2, 4, 4},
        // Repeated points; collinear; crossing itself; a lone vertex last.
        {{polygon({{2, 2}, {2, 2}, {9, 2}, {9, 2}, {2, 9}})}, 0, 0, 12, 12},
        {{polygon({{1, 1}, {5, 5}, {9, 9}})}, 0, 0, 12, 12},
        {{polygon({{0, 0}, {30, 20}, {30, 0}, {0, 20}})}, -3, -3, 36, 26},
        {{polygons({{{1, 1}, {1e-13, 1}, {1, 9}}, {{6, 6}}})}, 0, 0, 10, 10},
        // One pixel of a large triangle.
        {{polygon({{-500, -400}, {900, 300}, {-200, 800}})}, 0, 0, 1, 1},
        // A segment shorter than a millionth, across a row: it reaches pixels away.
        {{polygon({{0, 2}, {5, 4.99999999}, {5, 5.00000001}, {10, 8}})}, 0, 0, 12, 12},
        // Points at the mask's edges: on the last column and the last row
        // (drawn); just past the right edge, past the last row, past both
        // (one pixel beyond the mask's end), also with the box moved; just
        // before the left edge and the first row. A rectangle across the
        // right edge and the last row.
        {{rectangle(11.5, 3, 11.5, 3), rectangle(5, 7, 5, 7)}, 0, 0, 12, 8},
        {{rectangle(12, 3, 12, 3)}, 0, 0, 12, 8},
        {{rectangle(5, 8, 5, 8)}, 0, 0, 12, 8},
        {{rectangle(12, 7, 12, 7)}, 0, 0, 12, 8},
        {{rectangle(17, 9, 17, 9)}, 5, 2, 12, 8},
        {{rectangle(-0.5, 3, -0.5, 3), rectangle(3, -0.5, 3, -0.5)}, 0, 0, 12, 8},
        {{rectangle(9, 5, 14, 10)}, 0, 0, 12, 8},
    };
    RandomShapes random(20240611);
    for (int i = 0; i < 300; ++i) {
        int W = random.between(0, 4) == 0 ? random.between(1, 12) : random.between(12, 180);
        int H = random.between(0, 4) == 0 ? random.between(1, 12) : random.between(12, 180);
        Shape shape;
        for (int parts = random.between(1, 3); parts > 0; --parts)
            shape.push_back(random.part(W, H));
        cases.push_back({shape, random.between(-20, W / 2), random.between(-20, H / 2), W, H});
    }
    ImageMagickComparison draw("MagickDrawImage", "2F757DBF5FF7812E9E754BF2ED9EB8E9");
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const Case& c = cases[i];
        std::vector<Quantum> drawn = drawnMaskOpacity(c.shape, c.x, c.y, c.width, c.height);
        draw.reference(drawn.data(), drawn.size() * sizeof(Quantum));
        draw.compare([&] {
            std::optional<ShapeMask> mask = shapeMaskOpacity(c.shape, c.x, c.y, c.width, c.height);
            ASSERT_TRUE(mask);
            int first = firstDifference(*mask, drawn);
            EXPECT_EQ(first, -1) << "at (" << first % c.width << ", " << first / c.width << ")";
        });
    }
    // A lone vertex followed by another ring is printed in a form ImageMagick
    // rejects, ending the drawing: left to ImageMagick.
    EXPECT_FALSE(shapeMaskOpacity({polygons({{{4, 4}}, {{1, 1}, {8, 1}, {1, 8}}})}, 0, 0, 10, 10));
    if (std::string why = draw.judge(); !why.empty()) GTEST_SKIP() << why;
}
