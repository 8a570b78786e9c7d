// The flip's distortion and the turn's rotation give ImageMagick's own
// results, pixel for pixel at full depth, with the same size and offset.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <vector>

#include "effect_harness.h"
#include "imagemagick_comparison.h"
#include "render/effects/flip.h"
#include "render/effects/rotate.h"
#include "render/magick_mirror/image_distort.h"

namespace {

enum class Alpha { None, Opaque, Uniform, Varied };

// A picture of random 16-bit colours, so that a weight or a sum taken in
// another order shows in the low bits.
WandPtr noisyPicture(int width, int height, Alpha alpha, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<unsigned short> pixels(static_cast<std::size_t>(width) * height * 4);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = (i % 4 == 3 && alpha != Alpha::Varied) ? 65535 : random() & 0xffff;
    WandPtr wand = harness::solidCanvas(width, height, "black");
    MagickImportImagePixels(wand.get(), 0, 0, width, height, "RGBA", ShortPixel, pixels.data());
    if (alpha == Alpha::None) MagickSetImageAlphaChannel(wand.get(), DeactivateAlphaChannel);
    if (alpha == Alpha::Opaque) MagickSetImageAlphaChannel(wand.get(), OpaqueAlphaChannel);
    if (alpha == Alpha::Uniform) MagickSetImageOpacity(wand.get(), 0.35);
    return wand;
}

// Size, page offset and every channel, alpha included, at full depth.
std::string imageDifference(MagickWand* expected, MagickWand* actual) {
    std::ostringstream out;
    std::size_t width = MagickGetImageWidth(expected), height = MagickGetImageHeight(expected);
    std::size_t pageWidth = 0, pageHeight = 0;
    ssize_t x[2] = {}, y[2] = {};
    MagickGetImagePage(expected, &pageWidth, &pageHeight, &x[0], &y[0]);
    MagickGetImagePage(actual, &pageWidth, &pageHeight, &x[1], &y[1]);
    if (MagickGetImageWidth(actual) != width || MagickGetImageHeight(actual) != height ||
        x[0] != x[1] || y[0] != y[1]) {
        out << "geometry " << MagickGetImageWidth(actual) << "x" << MagickGetImageHeight(actual)
            << "+" << x[1] << "+" << y[1] << ", expected " << width << "x" << height << "+"
            << x[0] << "+" << y[0];
        return out.str();
    }
    std::vector<unsigned short> a(width * height * 4), b(a.size());
    MagickExportImagePixels(expected, 0, 0, width, height, "RGBA", ShortPixel, a.data());
    MagickExportImagePixels(actual, 0, 0, width, height, "RGBA", ShortPixel, b.data());
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) {
            out << "pixel (" << i / 4 % width << ", " << i / 4 / width << ") channel " << i % 4
                << ": " << b[i] << ", expected " << a[i];
            return out.str();
        }
    return "";
}

// The flip's preparation: opaque picture, transparent surroundings.
void expectPerspectiveAsImageMagick(ImageMagickComparison& distort, MagickWand* picture,
                                    const double* points, const std::string& what) {
    SCOPED_TRACE(what);
    WandPtr expected(CloneMagickWand(picture));
    MagickSetImageVirtualPixelMethod(expected.get(), TransparentVirtualPixelMethod);
    WandPtr actual(CloneMagickWand(expected.get()));
    MagickBooleanType distorted =
        MagickDistortImage(expected.get(), PerspectiveDistortion, 16, points, MagickTrue);
    distort.reference(expected.get());
    distort.compare([&] {
        ASSERT_EQ(distortPerspectiveBestFit(actual.get(), points, 16), distorted);
        EXPECT_EQ(imageDifference(expected.get(), actual.get()), "");
    });
}

void expectRotationAsImageMagick(ImageMagickComparison& rotate, MagickWand* picture,
                                 double degrees, const std::string& what) {
    SCOPED_TRACE(what);
    PixelWandPtr transparent = newPixelWand("#FFFFFF00");
    WandPtr expected(CloneMagickWand(picture));
    WandPtr actual(CloneMagickWand(picture));
    MagickBooleanType rotated = MagickRotateImage(expected.get(), transparent.get(), degrees);
    rotate.reference(expected.get());
    rotate.compare([&] {
        ASSERT_EQ(rotateOnBackground(actual.get(), transparent.get(), degrees), rotated);
        EXPECT_EQ(imageDifference(expected.get(), actual.get()), "");
    });
}

std::string named(const char* kind, int width, int height, int alpha, double detail) {
    std::ostringstream out;
    out << kind << " " << width << "x" << height << " alpha " << alpha << " at " << detail;
    return out.str();
}

} // namespace

TEST(ImageDistort, PerspectiveGivesImageMagicksPixels) {
    ImageMagickComparison distort("MagickDistortImage", "B96EAD6E385F7D73729F8D6CE4D11B44");
    // Every frame of every hinge, the picture opaque as the flip makes it.
    for (auto [W, H] : {std::pair{16, 12}, {37, 23}, {120, 90}})
        for (FlipHinge hinge : {FlipHinge::Left, FlipHinge::Right, FlipHinge::Top,
                                FlipHinge::Bottom}) {
            WandPtr picture = noisyPicture(W, H, Alpha::Opaque, W + static_cast<int>(hinge));
            int k = 0;
            for (const PerspectivePoints& points : flipControlPoints(hinge, W, H))
                expectPerspectiveAsImageMagick(
                    distort, picture.get(), points.data(),
                    named("hinge", W, H, static_cast<int>(hinge), ++k));
        }
    // Quadrilaterals about the corners, some reaching past them, on
    // pictures with and without transparency, down to a single pixel.
    std::mt19937 random(11);
    std::uniform_real_distribution<double> offset(-0.25, 0.25);
    for (auto [W, H] : {std::pair{1, 1}, {2, 3}, {7, 5}, {64, 48}})
        for (Alpha alpha : {Alpha::Opaque, Alpha::Uniform, Alpha::Varied})
            for (int round = 0; round < 4; ++round) {
                double w = W, h = H;
                double points[16] = {0, 0, w * offset(random),       h * offset(random),
                                     w, 0, w * (1 + offset(random)), h * offset(random),
                                     w, h, w * (1 + offset(random)), h * (1 + offset(random)),
                                     0, h, w * offset(random),       h * (1 + offset(random))};
                WandPtr picture = noisyPicture(W, H, alpha, round);
                expectPerspectiveAsImageMagick(
                    distort, picture.get(), points,
                    named("quad", W, H, static_cast<int>(alpha), round));
            }
    if (std::string why = distort.judge(); !why.empty()) GTEST_SKIP() << why;
}

TEST(ImageDistort, RotationGivesImageMagicksPixels) {
    // Every angle the four turning members take, quarter turns included.
    std::vector<double> angles;
    for (bool grow : {false, true})
        for (bool clockwise : {false, true})
            for (const RotateStep& step : rotateSchedule(400, 300, grow, clockwise))
                if (step.shown) angles.push_back(step.angle);
    std::sort(angles.begin(), angles.end());
    angles.erase(std::unique(angles.begin(), angles.end()), angles.end());
    ImageMagickComparison rotate("MagickRotateImage", "3F9B643449B6D0F03313FAA430DC51E9");
    for (auto [W, H] : {std::pair{1, 1}, {2, 3}, {7, 5}, {31, 17}, {54, 72}})
        for (Alpha alpha : {Alpha::None, Alpha::Opaque, Alpha::Uniform, Alpha::Varied}) {
            WandPtr picture = noisyPicture(W, H, alpha, W * H);
            for (double degrees : angles)
                expectRotationAsImageMagick(rotate, picture.get(), degrees,
                                            named("turn", W, H, static_cast<int>(alpha), degrees));
        }
    if (std::string why = rotate.judge(); !why.empty()) GTEST_SKIP() << why;
}

TEST(ImageDistort, AResultThatCannotBeHandedToTheWandFailsAndLeavesThePicture) {
    WandPtr picture = noisyPicture(37, 23, Alpha::Opaque, 5);
    MagickSetImageVirtualPixelMethod(picture.get(), TransparentVirtualPixelMethod);
    const PerspectivePoints points = flipControlPoints(FlipHinge::Left, 37, 23)[3];
    PixelWandPtr transparent = newPixelWand("#FFFFFF00");
    WandPtr flipped(CloneMagickWand(picture.get()));
    WandPtr turned(CloneMagickWand(picture.get()));
    {
        harness::FailingPixelWorkStep seam(0);
        EXPECT_EQ(distortPerspectiveBestFit(flipped.get(), points.data(), 16), MagickFalse);
    }
    {
        harness::FailingPixelWorkStep seam(0);
        EXPECT_EQ(rotateOnBackground(turned.get(), transparent.get(), 54), MagickFalse);
    }
    EXPECT_EQ(imageDifference(picture.get(), flipped.get()), "");
    EXPECT_EQ(imageDifference(picture.get(), turned.get()), "");
}
