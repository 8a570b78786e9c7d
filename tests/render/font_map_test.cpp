#include <gtest/gtest.h>

#include <filesystem>

#include "foundation/globals.h"
#include "foundation/hash_map.h"
#include "render/color_to_hex.h"
#include "render/font_map.h"

TEST(FontMap, EveryCaptionFontMapsToAnInstalledFile) {
    std::vector<std::string> names = buildFontMap();
    const std::vector<std::string> expected = {"黑体", "楷体", "宋体", "微软雅黑", "幼圆", "阿里普惠体"};
    EXPECT_EQ(names, expected);
    ASSERT_NE(fontMap, nullptr);
    EXPECT_EQ(fontMap->count, 6);
    for (const std::string& name : names) {
        std::string path = captionFontPath(name);
        EXPECT_TRUE(std::filesystem::is_regular_file(path)) << name << " -> " << path;
    }
    buildFontMap();  // rebuilding replaces the entries without losing any
    EXPECT_EQ(fontMap->count, 6);
}

TEST(FontMap, UnknownFontNameFallsBackToAnInstalledFont) {
    std::string path = captionFontPath("没有这个字体");
    EXPECT_TRUE(std::filesystem::is_regular_file(path)) << path;
    EXPECT_TRUE(std::filesystem::is_regular_file(captionFontPath("")));
}

TEST(ColorToHex, WritesLowerCaseTwoDigitChannels) {
    EXPECT_EQ(colorToHex(rgbColor(255, 0, 0)), "#ff0000");
    EXPECT_EQ(colorToHex(rgbColor(10, 11, 12)), "#0a0b0c");
    EXPECT_EQ(colorToHex(captionBoxColors[7]), "#ff619d");
    EXPECT_EQ(colorToHex(captionTextColors[2]), "#0080ff");
}
