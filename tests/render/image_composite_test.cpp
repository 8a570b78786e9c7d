// The Over composite and the canvases a picture covers, against
// ImageMagick's own calls: every channel at full depth, the opacity field of
// images without matte included, and the attributes a composite changes.
#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "effect_harness.h"
#include "imagemagick_comparison.h"
#include "render/effects/effect_helpers.h"
#include "render/image.h"
#include "render/magick_mirror/image_composite.h"

namespace {

// None: no matte, opacity 0. Hidden: no matte over random opacities (alpha
// switched off keeps them). Uniform: one opacity, as setOpacity leaves.
// Mixed: matte, opacities 0, QuantumRange or anything between.
enum class Alpha { None, Hidden, Uniform, Mixed };

unsigned short randomQuantum(std::mt19937& random) {
    switch (random() % 4) {
    case 0: return 0;
    case 1: return 65535;
    default: return static_cast<unsigned short>(random());
    }
}

WandPtr randomImage(int width, int height, Alpha alpha, std::mt19937& random) {
    std::vector<unsigned short> rgba(static_cast<std::size_t>(width) * height * 4);
    for (std::size_t i = 0; i < rgba.size(); ++i)
        rgba[i] = i % 4 == 3 && alpha == Alpha::None ? 65535 : randomQuantum(random);
    WandPtr image = harness::solidCanvas(width, height, "#000000");
    MagickImportImagePixels(image.get(), 0, 0, width, height, "RGBA", ShortPixel, rgba.data());
    if (alpha == Alpha::None || alpha == Alpha::Hidden)
        MagickSetImageAlphaChannel(image.get(), DeactivateAlphaChannel);
    if (alpha == Alpha::Uniform) MagickSetImageOpacity(image.get(), 0.37);
    // Untouched since read, as a picture from a file is.
    GetImageFromMagickWand(image.get())->taint = MagickFalse;
    return image;
}

// What a composite leaves: RGBA at 16 bits (alpha read from the opacity
// field whatever the matte) and the attributes it may change.
std::string stateOf(MagickWand* wand) {
    const Image* image = GetImageFromMagickWand(wand);
    std::size_t width = image->columns, height = image->rows;
    std::vector<unsigned short> pixels(width * height * 4);
    MagickExportImagePixels(wand, 0, 0, width, height, "RGBA", ShortPixel, pixels.data());
    std::string state(reinterpret_cast<const char*>(pixels.data()),
                      pixels.size() * sizeof(unsigned short));
    for (long value : {long(width), long(height), long(image->matte), long(image->type),
                       long(image->taint), long(image->storage_class), long(image->colorspace),
                       long(image->depth), long(image->page.width), long(image->page.x)})
        state += "," + std::to_string(value);
    return state;
}

struct Placement {
    int width, height, x, y;
};

// Against a 23 x 17 target: covering, strictly inside (copied as it is
// when neither has matte), reaching the far edges, partly and wholly
// outside on every side, single pixels.
const Placement kPlacements[] = {
    {23, 17, 0, 0},  {9, 6, 5, 4},   {9, 6, 14, 11}, {30, 20, -4, -2}, {9, 6, -3, 13},
    {9, 6, 20, -4},  {9, 6, 23, 2},  {9, 6, -9, 2},  {9, 6, 2, 17},    {9, 6, 3, -6},
    {1, 1, 0, 0},    {1, 1, 22, 16}, {1, 1, 21, 15},
};
const Alpha kAlphas[] = {Alpha::None, Alpha::Hidden, Alpha::Uniform, Alpha::Mixed};

} // namespace

TEST(ImageComposite, OverLeavesWhatImageMagickLeaves) {
    std::mt19937 random(7);
    ImageMagickComparison over("MagickCompositeImage", "345BB2FC343BC07AD5CD98B51B712BD0");
    for (Alpha targetAlpha : kAlphas)
        for (Alpha sourceAlpha : kAlphas)
            for (const Placement& at : kPlacements) {
                SCOPED_TRACE(testing::Message()
                             << "target " << int(targetAlpha) << " source " << int(sourceAlpha)
                             << " " << at.width << "x" << at.height << "+" << at.x << "+"
                             << at.y);
                WandPtr target = randomImage(23, 17, targetAlpha, random);
                WandPtr source = randomImage(at.width, at.height, sourceAlpha, random);
                WandPtr expected(CloneMagickWand(target.get()));
                MagickCompositeImage(expected.get(), source.get(), OverCompositeOp, at.x, at.y);
                over.reference(expected.get());
                over.compare([&] {
                    compositeImageOver(target.get(), source.get(), at.x, at.y);
                    ASSERT_EQ(stateOf(target.get()), stateOf(expected.get()));
                });

                // The same placement as a piece of a larger source, as a crop
                // of it is laid; and on a new canvas of each kind.
                WandPtr larger = randomImage(at.width + 5, at.height + 3, sourceAlpha, random);
                Piece piece{4, 2, at.width, at.height, at.x, at.y};
                WandPtr pieceTarget = randomImage(23, 17, targetAlpha, random);
                WandPtr pieceExpected(CloneMagickWand(pieceTarget.get()));
                WandPtr cut = cropCopy(larger.get(), 4, 2, at.width, at.height);
                MagickCompositeImage(pieceExpected.get(), cut.get(), OverCompositeOp, at.x, at.y);
                over.reference(pieceExpected.get());
                over.compare([&] {
                    compositePiece(pieceTarget.get(), larger.get(), piece);
                    ASSERT_EQ(stateOf(pieceTarget.get()), stateOf(pieceExpected.get()));
                });
                if (targetAlpha != Alpha::None) continue;
                for (const char* color : {"#FFFFFF", "none", "#336699"}) {
                    WandPtr canvasExpected(newCanvas(23, 17, color));
                    MagickCompositeImage(canvasExpected.get(), source.get(), OverCompositeOp, at.x,
                                         at.y);
                    over.reference(canvasExpected.get());
                    over.compare([&] {
                        WandPtr canvas(
                            newCanvasWithImageOver(23, 17, color, source.get(), at.x, at.y));
                        ASSERT_EQ(stateOf(canvas.get()), stateOf(canvasExpected.get())) << color;
                    });
                }
            }
    if (std::string why = over.judge(); !why.empty()) GTEST_SKIP() << why;
}

TEST(ImageComposite, BlendsLyingOnAHalfRoundAsImageMagickRoundsThem) {
    // Source and target opacities and channel values whose exact blend is a
    // whole number and a half: which way each rounds depends on every
    // operation of the blend being done as ImageMagick does it, in its order.
    struct Tie {
        unsigned short sourceOpacity, targetOpacity, source, target;
    };
    const Tie ties[] = {
        {60435, 57235, 51579, 35190}, {60435, 57235, 45197, 50660}, {60435, 57235, 47138, 19823},
        {50265, 42121, 19802, 43570}, {50265, 42121, 39829, 16061}, {49489, 17397, 41698, 6031},
        {49489, 17397, 269, 35936},   {49489, 17397, 48269, 12602}, {6939, 32779, 9540, 44247},
        {6939, 32779, 17595, 52302},
    };
    const int count = static_cast<int>(std::size(ties));
    std::vector<unsigned short> source, target;
    for (const Tie& tie : ties) {
        source.insert(source.end(), {tie.source, tie.source, tie.source,
                                     static_cast<unsigned short>(65535 - tie.sourceOpacity)});
        target.insert(target.end(), {tie.target, tie.target, tie.target,
                                     static_cast<unsigned short>(65535 - tie.targetOpacity)});
    }
    WandPtr sourceImage = harness::solidCanvas(count, 1, "#000000");
    WandPtr targetImage = harness::solidCanvas(count, 1, "#000000");
    MagickImportImagePixels(sourceImage.get(), 0, 0, count, 1, "RGBA", ShortPixel, source.data());
    MagickImportImagePixels(targetImage.get(), 0, 0, count, 1, "RGBA", ShortPixel, target.data());
    WandPtr expected(CloneMagickWand(targetImage.get()));
    MagickCompositeImage(expected.get(), sourceImage.get(), OverCompositeOp, 0, 0);
    ImageMagickComparison over("MagickCompositeImage", "8D024E86F98A4EB1C03EE587034C67A8");
    over.reference(expected.get());
    over.compare([&] {
        compositeImageOver(targetImage.get(), sourceImage.get(), 0, 0);
        EXPECT_EQ(stateOf(targetImage.get()), stateOf(expected.get()));
    });
    if (std::string why = over.judge(); !why.empty()) GTEST_SKIP() << why;
}

namespace {

// While it lives, ImageMagick may take no memory, map or disk for a pixel
// cache: an image that has to make its pixels its own cannot.
class NoCacheResources {
public:
    NoCacheResources() {
        for (auto& [type, limit] : saved_) {
            limit = GetMagickResourceLimit(type);
            SetMagickResourceLimit(type, 0);
        }
    }
    ~NoCacheResources() {
        for (const auto& [type, limit] : saved_) SetMagickResourceLimit(type, limit);
    }
    NoCacheResources(const NoCacheResources&) = delete;
    NoCacheResources& operator=(const NoCacheResources&) = delete;

private:
    std::pair<ResourceType, MagickSizeType> saved_[3] = {
        {MemoryResource, 0}, {MapResource, 0}, {DiskResource, 0}};
};

} // namespace

TEST(ImageComposite, ATargetWhosePixelsCannotBeHadFailsAsImageMagickFails) {
    std::mt19937 random(3);
    WandPtr picture = randomImage(23, 17, Alpha::Mixed, random);
    WandPtr source = randomImage(9, 6, Alpha::Mixed, random);
    // A clone shares the picture's pixels until it is written to.
    WandPtr target(CloneMagickWand(picture.get()));
    const std::string before = stateOf(target.get());
    {
        NoCacheResources exhausted;
        EXPECT_EQ(compositePartOver(target.get(), source.get(), 1, 1, 5, 4, 2, 3),
                  PartOver::Declined);
        EXPECT_EQ(compositeImageOver(target.get(), source.get(), 2, 3), MagickFalse);
    }
    // ImageMagick's own call failed and told the wand why.
    ExceptionType severity = UndefinedException;
    MagickTextPtr description(MagickGetException(target.get(), &severity));
    EXPECT_NE(severity, UndefinedException);
    EXPECT_TRUE(stateOf(target.get()) == before);
}

TEST(ImageComposite, ASourceRowThatCannotBeReadFailsTheCompositeAndNoCanvasKeepsIt) {
    // The source covers six rows of the target; the first, a middle and the
    // last fail in turn. The rows before the failing one are laid, no row
    // after it; a new canvas is made again by ImageMagick's calls.
    std::mt19937 random(5);
    ImageMagickComparison over("MagickCompositeImage", "F7AA9924037BB8E4CA53CCD4BFAA6DDF");
    for (long failing : {0, 2, 5}) {
        SCOPED_TRACE(failing);
        WandPtr target = randomImage(23, 17, Alpha::Mixed, random);
        WandPtr larger = randomImage(12, 9, Alpha::Mixed, random);
        WandPtr source = cropCopy(larger.get(), 2, 1, 9, 6);
        WandPtr expected(CloneMagickWand(target.get()));
        if (WandPtr laid = cropCopy(source.get(), 0, 0, 9, static_cast<int>(failing)))
            MagickCompositeImage(expected.get(), laid.get(), OverCompositeOp, 5, 4);
        over.reference(expected.get());
        over.compare([&] {
            WandPtr part(CloneMagickWand(target.get()));
            {
                harness::FailingPixelWorkStep seam(failing);
                EXPECT_EQ(compositeImageOver(target.get(), source.get(), 5, 4), MagickFalse);
            }
            EXPECT_TRUE(stateOf(target.get()) == stateOf(expected.get())) << "composite";
            {
                harness::FailingPixelWorkStep seam(failing);
                EXPECT_EQ(compositePartOver(part.get(), larger.get(), 2, 1, 9, 6, 5, 4), PartOver::Failed);
            }
            EXPECT_TRUE(stateOf(part.get()) == stateOf(expected.get())) << "part";
        });

        WandPtr canvasExpected(newCanvas(23, 17, "#336699"));
        MagickCompositeImage(canvasExpected.get(), source.get(), OverCompositeOp, 5, 4);
        over.reference(canvasExpected.get());
        over.compare([&] {
            harness::FailingPixelWorkStep seam(failing);
            WandPtr canvas(newCanvasWithImageOver(23, 17, "#336699", source.get(), 5, 4));
            EXPECT_TRUE(stateOf(canvas.get()) == stateOf(canvasExpected.get())) << "canvas";
        });
    }
    if (std::string why = over.judge(); !why.empty()) GTEST_SKIP() << why;
}
