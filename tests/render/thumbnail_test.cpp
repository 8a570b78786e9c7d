#include "render/thumbnail.h"

#include <gtest/gtest.h>

#include <utility>

#include "effect_harness.h"
#include "foundation/temp_folder.h"

namespace {

harness::Rgb at(const ThumbnailIcon& icon, int x, int y) {
    const std::uint8_t* p = &icon.rgba[(static_cast<std::size_t>(y) * icon.width + x) * 4];
    return {p[0], p[1], p[2]};
}

const harness::Rgb kWhite{255, 255, 255};
const harness::Rgb kBorder{0xd4, 0xd0, 0xc8};
const harness::Rgb kRed{255, 0, 0};

ThumbnailIcon thumbnailOf(const TempFolder& folder, int w, int h, const char* extension = ".png") {
    std::string path = folder / ("p" + std::to_string(w) + "x" + std::to_string(h) + extension);
    harness::writePicture(harness::solidCanvas(w, h, "#ff0000").get(), path);
    ThumbnailIcon icon;
    EXPECT_EQ(makeThumbnailIcon(path, thumbnailWidth, thumbnailHeight, &icon), 1);
    return icon;
}

} // namespace

TEST(Thumbnail, WidePictureIsShrunkAndCentredInsideTheBorder) {
    TempFolder folder;
    ThumbnailIcon icon = thumbnailOf(folder, 300, 100);
    ASSERT_EQ(icon.width, 144);
    ASSERT_EQ(icon.height, 144);
    ASSERT_EQ(icon.rgba.size(), 144u * 144u * 4u);
    EXPECT_EQ(at(icon, 0, 0), kBorder);
    EXPECT_EQ(at(icon, 143, 143), kBorder);
    // 142 x 47 at (0, 47) inside the one-pixel border.
    EXPECT_EQ(at(icon, 1, 47), kWhite);
    EXPECT_TRUE(harness::near(at(icon, 1, 48), kRed, 8));
    EXPECT_TRUE(harness::near(at(icon, 142, 94), kRed, 8));
    EXPECT_EQ(at(icon, 72, 96), kWhite);
}

TEST(Thumbnail, TallPictureAndSmallPicture) {
    TempFolder folder;
    ThumbnailIcon tall = thumbnailOf(folder, 100, 300);
    EXPECT_EQ(at(tall, 47, 72), kWhite);
    EXPECT_TRUE(harness::near(at(tall, 48, 72), kRed, 8));
    // 100 x 80 is not enlarged: it sits at (21, 31).
    ThumbnailIcon small = thumbnailOf(folder, 100, 80);
    EXPECT_EQ(at(small, 21, 31), kWhite);
    EXPECT_TRUE(harness::near(at(small, 22, 32), kRed, 2));
    EXPECT_TRUE(harness::near(at(small, 121, 111), kRed, 2));
    EXPECT_EQ(at(small, 122, 112), kWhite);
}

TEST(Thumbnail, ExtremePanoramaJpegsAreRead) {
    TempFolder folder;
    // 142 x 2 and 2 x 142 through the middle of the box.
    for (auto [w, h] : {std::pair{10000, 200}, std::pair{200, 10000}}) {
        ThumbnailIcon icon = thumbnailOf(folder, w, h, ".jpg");
        ASSERT_EQ(icon.rgba.size(), 144u * 144u * 4u) << w << "x" << h;
        EXPECT_TRUE(harness::near(at(icon, 72, 72), kRed, 8)) << w << "x" << h;
    }
}

TEST(Thumbnail, AnimatedAndUndecodablePicturesGiveNoIcon) {
    TempFolder folder;
    WandPtr frames(NewMagickWand());
    for (const char* color : {"#ff0000", "#00ff00"}) {
        WandPtr frame = harness::solidCanvas(8, 8, color);
        MagickSetImageDelay(frame.get(), 10);
        MagickAddImage(frames.get(), frame.get());
    }
    std::string animated = folder / "动画.gif";
    MagickWriteImages(frames.get(), animated.c_str(), MagickTrue);
    ThumbnailIcon icon;
    EXPECT_EQ(makeThumbnailIcon(animated, thumbnailWidth, thumbnailHeight, &icon), -1);
    EXPECT_EQ(makeThumbnailIcon(folder.write("broken.jpg", "\xFF\xD8 broken"), thumbnailWidth,
                                thumbnailHeight, &icon),
              0);
    EXPECT_EQ(makeThumbnailIcon(folder / "missing.png", thumbnailWidth, thumbnailHeight, &icon), 0);
    EXPECT_TRUE(icon.rgba.empty());
}
