// The render's Lanczos resize against ImageMagick's own resize.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "imagemagick_comparison.h"
#include "render/magick_mirror/image_resize.h"
#include "render/wand_ptr.h"

namespace {

struct ResizeCase {
    int width, height, toWidth, toHeight;
    bool alpha;
};

// Noise with runs of black and white, so both ends of the clamp are reached;
// with alpha, some pixels fully transparent. Without alpha, opacity values
// stay behind a switched-off alpha channel, as the resize carries them too.
WandPtr noisePicture(int width, int height, bool alpha, std::mt19937& random) {
    std::vector<unsigned short> pixels(static_cast<std::size_t>(width) * height * 4);
    for (unsigned short& value : pixels) {
        unsigned pick = random() % 4;
        value = pick == 0 ? 0 : pick == 1 ? 65535 : static_cast<unsigned short>(random());
    }
    WandPtr wand(NewMagickWand());
    PixelWandPtr white = newPixelWand("#FFFFFF");
    MagickNewImage(wand.get(), width, height, white.get());
    MagickSetImageAlphaChannel(wand.get(), ActivateAlphaChannel);
    MagickImportImagePixels(wand.get(), 0, 0, width, height, "RGBA", ShortPixel, pixels.data());
    if (!alpha) MagickSetImageAlphaChannel(wand.get(), DeactivateAlphaChannel);
    // A page offset, which the resize scales.
    MagickSetImagePage(wand.get(), width + 7, height + 3, 5, -2);
    return wand;
}

std::vector<unsigned short> deepPixels(MagickWand* wand) {
    std::size_t width = MagickGetImageWidth(wand), height = MagickGetImageHeight(wand);
    std::vector<unsigned short> pixels(width * height * 4);
    MagickExportImagePixels(wand, 0, 0, width, height, "RGBA", ShortPixel, pixels.data());
    return pixels;
}

struct Page {
    std::size_t width = 0, height = 0;
    ssize_t x = 0, y = 0;
    bool operator==(const Page&) const = default;
};

Page pageOf(MagickWand* wand) {
    Page page;
    MagickGetImagePage(wand, &page.width, &page.height, &page.x, &page.y);
    return page;
}

} // namespace

TEST(LanczosResize, GivesImageMagicksPixelsAndGeometryBitForBit) {
    std::vector<ResizeCase> cases = {
        {108, 144, 152, 203, false}, // the zoom's enlargement
        {160, 120, 108, 81, false},  // a photograph fitted into the frame
        {108, 144, 54, 72, true},    // half, with alpha
        {108, 144, 7, 9, false},     // the shrink's smallest steps
        {108, 144, 7, 9, true},
        {40, 30, 40, 30, false},     // the same size still filters
        {40, 30, 40, 30, true},
        {1, 1, 9, 5, false},
        {9, 5, 1, 1, true},
        {1, 30, 20, 2, false},
        {30, 1, 2, 20, true},
        {2, 3, 3, 2, false},
    };
    std::mt19937 random(20240601);
    for (int i = 0; i < 40; ++i) {
        auto side = [&](int most) { return 1 + static_cast<int>(random() % most); };
        cases.push_back({side(48), side(48), side(72), side(72), random() % 2 == 0});
    }
    ImageMagickComparison resize("MagickResizeImage", "4A5AE8092CE925E530BC04E3E0E99022");
    for (const ResizeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " -> " << c.toWidth
                                        << "x" << c.toHeight << (c.alpha ? " alpha" : ""));
        WandPtr picture = noisePicture(c.width, c.height, c.alpha, random);
        WandPtr expected(CloneMagickWand(picture.get()));
        WandPtr resized(CloneMagickWand(picture.get()));
        ASSERT_TRUE(MagickResizeImage(expected.get(), c.toWidth, c.toHeight, LanczosFilter, 1.0));
        resize.reference(expected.get());
        resize.compare([&] {
            ASSERT_TRUE(lanczosResize(resized.get(), c.toWidth, c.toHeight));
            EXPECT_EQ(MagickGetImageWidth(resized.get()), MagickGetImageWidth(expected.get()));
            EXPECT_EQ(MagickGetImageHeight(resized.get()), MagickGetImageHeight(expected.get()));
            EXPECT_EQ(MagickGetImageAlphaChannel(resized.get()),
                      MagickGetImageAlphaChannel(expected.get()));
            EXPECT_EQ(pageOf(resized.get()), pageOf(expected.get()));
            EXPECT_EQ(GetImageFromMagickWand(resized.get())->type,
                      GetImageFromMagickWand(expected.get())->type);
            EXPECT_TRUE(deepPixels(resized.get()) == deepPixels(expected.get()));
        });
    }
    if (std::string why = resize.judge(); !why.empty()) GTEST_SKIP() << why;
}
