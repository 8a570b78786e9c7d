#include "render/picture_info.h"

#include <gtest/gtest.h>

#include "effect_harness.h"
#include "foundation/temp_folder.h"

TEST(PictureInfo, SizeIsShownInBytesKilobytesOrMegabytes) {
    EXPECT_EQ(formatPictureInfoLine(300, 100, "JPEG", 1023),
              "尺寸: 300 x 100, 类型: JPEG 图片, 大小: 1023 字节");
    EXPECT_EQ(formatPictureInfoLine(1, 2, "PNG", 1024), "尺寸: 1 x 2, 类型: PNG 图片, 大小: 1.0 KB");
    EXPECT_EQ(formatPictureInfoLine(1, 2, "PNG", 2048), "尺寸: 1 x 2, 类型: PNG 图片, 大小: 2.0 KB");
    EXPECT_EQ(formatPictureInfoLine(1, 2, "GIF", 1048575), "尺寸: 1 x 2, 类型: GIF 图片, 大小: 1024.0 KB");
    EXPECT_EQ(formatPictureInfoLine(1, 2, "BMP", 1048576), "尺寸: 1 x 2, 类型: BMP 图片, 大小: 1.0 MB");
    EXPECT_EQ(formatPictureInfoLine(1, 2, "BMP", 5LL << 30), "尺寸: 1 x 2, 类型: BMP 图片, 大小: 5120.0 MB");
}

TEST(PictureInfo, HeaderFirstThenImageMagick) {
    TempFolder folder;
    std::string png = folder / "图 片.png";
    harness::writePicture(harness::solidCanvas(40, 30, "#336699").get(), png);
    std::string text;
    ASSERT_EQ(formatImageInfo(png, &text), 1);
    EXPECT_EQ(text.rfind("尺寸: 40 x 30, 类型: PNG 图片, 大小: ", 0), 0u) << text;

    // A TIFF has no header rule; ImageMagick still describes it.
    std::string tiff = folder / "p.tif";
    harness::writePicture(harness::solidCanvas(20, 10, "#336699").get(), tiff);
    EXPECT_EQ(formatImageInfo(tiff, &text), 0);
    ASSERT_EQ(getPictureInfoText(tiff, &text), 1);
    EXPECT_EQ(text.rfind("尺寸: 20 x 10, 类型: TIFF 图片, 大小: ", 0), 0u) << text;

    EXPECT_EQ(getPictureInfoText(folder.write("junk.jpg", "not a picture"), &text), 0);
    EXPECT_EQ(text, "注意: 这不是一个有效的图片");
}
