#include "render/magick_self_test.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/temp_folder.h"
#include "render/image_probe.h"
#include "render/magick_test_pictures.h"

TEST(MagickSelfTest, EveryCoderWorksOnThisSystem) {
    std::string failure = "untouched";
    EXPECT_EQ(validateImageMagick(&failure), 1);
    EXPECT_EQ(failure, "untouched");
    EXPECT_EQ(setupImageMagickEnvironment(), 1);
}

TEST(MagickSelfTest, TestPicturesAreTheKindsTheirHeadersClaim) {
    TempFolder folder;
    auto write = [&](const char* name, const unsigned char* data, std::size_t length) {
        return folder.write(name, std::string(reinterpret_cast<const char*>(data), length));
    };
    EXPECT_EQ(probeImageType(write("t.png", kTestPng, sizeof kTestPng)), IMAGE_PROBE_PNG);
    EXPECT_EQ(probeImageType(write("t.gif", kTestGif, sizeof kTestGif)), IMAGE_PROBE_GIF);
    EXPECT_EQ(probeImageType(write("t.bmp", kTestBmp, sizeof kTestBmp)), IMAGE_PROBE_BMP);
    ImageHeaderInfo info;
    ASSERT_EQ(readImageHeaderInfo(write("t.jpg", kTestJpeg, sizeof kTestJpeg), &info), 1);
    EXPECT_EQ(info.width, 8);
    EXPECT_EQ(info.height, 8);
    std::string jpeg(reinterpret_cast<const char*>(kTestJpeg), sizeof kTestJpeg);
    EXPECT_NE(jpeg.find("\xFF\xC2"), std::string::npos) << "progressive frame header";
    ASSERT_EQ(readImageHeaderInfo(folder / "t.bmp", &info), 1);
    EXPECT_EQ(info.width, 4);
}
