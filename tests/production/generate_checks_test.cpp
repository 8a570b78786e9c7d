#include "production/generate_checks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>

#include "foundation/globals.h"
#include "foundation/linked_list.h"
#include "platform/command_ids.h"
#include "platform/message_box.h"
#include "platform/window_controls.h"
#include "production/logo_copy.h"
#include "production/timing.h"
#include "production_support.h"

using production_test::ProductionTest;
using production_test::recorded;
using production_test::writeSolidPicture;

class GenerateChecks : public ProductionTest {
protected:
    void SetUp() override {
        ProductionTest::SetUp();
        setUpOutputControls(10, kDefaultPauseEntry, 0);
        videoWidth = videoHeight = 800;
    }
    // The one box shown, and where the focus went.
    void expectRefusal(const std::string& text, const char* caption, int focus) {
        EXPECT_EQ(checkBeforeGenerate(), 0);
        auto boxes = recorded().boxes;
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, text);
        EXPECT_EQ(boxes[0].caption, caption);
        EXPECT_EQ(boxes[0].type, unsigned(MB_ICONWARNING));
        EXPECT_EQ(lastFocusedControl(), focus);
    }
    void useLogo(const std::string& path, int position = 2) {
        setChecked(IDC_LOGO_CHECK, 1);
        setControlText(IDC_LOGO_PATH, path);
        for (int i = 0; i < 8; ++i) comboAddString(IDC_LOGO_POSITION, "position");
        comboSetCurSel(IDC_LOGO_POSITION, position);
    }
};

TEST_F(GenerateChecks, SizeMustBeChosenAndTheListMustNotBeEmpty) {
    comboSetCurSel(IDC_VIDEO_SIZE, 0);
    addPicture("/nowhere/a.jpg");
    expectRefusal("请选择视频尺寸", "提示", IDC_VIDEO_SIZE);
}

TEST_F(GenerateChecks, EmptyListIsRefusedBeforeAnyPictureIsRead) {
    expectRefusal("请先添加图片", "提示", IDC_PICTURE_LIST);
}

TEST_F(GenerateChecks, FirstPictureIsSetToNoAnimation) {
    addPicture("/nowhere/a.jpg", 31);
    addPicture("/nowhere/b.jpg", 2);
    expectRefusal("第一张图片必需设置为：[无动画]，否则视频上传到淘宝后的视频截图会出现黑色背景。",
                  "提示", IDC_PICTURE_LIST);
    auto* first = static_cast<PictureRecord*>(linkedlist_get(pictureList, 0));
    EXPECT_EQ(first->effectIndex, 99);
    EXPECT_EQ(first->effectName, "无动画");
    auto seen = recorded();
    ASSERT_FALSE(seen.rowLabels.empty());
    EXPECT_EQ(seen.rowLabels[0], "无动画");
    EXPECT_EQ(seen.selectedRows, std::vector<int>{0});
    EXPECT_EQ(checkBeforeGenerate(), 1) << "accepted once fixed";
}

TEST_F(GenerateChecks, MusicSyncedPauseNeedsMusic) {
    addPicture("/nowhere/a.jpg");
    comboSetCurSel(IDC_PAUSE_TIME, kMusicSyncEntry);
    expectRefusal("在没有选择背景音乐的情况下，图片停顿不能选择[与背景音乐同步]！", "提示",
                  IDC_PAUSE_TIME);
}

TEST_F(GenerateChecks, LengthMustStayUnder61Seconds) {
    pauseFrames = 127;
    for (int i = 0; i < 12; ++i) addPicture("/nowhere/a.jpg");  // 1524 frames: 60.96 s
    EXPECT_EQ(checkBeforeGenerate(), 1);
    EXPECT_TRUE(recorded().boxes.empty());
    pauseFrames = 61;
    for (int i = 0; i < 13; ++i) addPicture("/nowhere/a.jpg");  // 25 x 61 = 1525 frames: 61.00 s
    expectRefusal("淘宝网规定主图视频必须 < 61秒，当前视频长度：61.00秒！\n\n提示：可以通过调整图片停顿时间来缩小视频长度。",
                  "提示", IDC_PAUSE_TIME);
}

TEST_F(GenerateChecks, LogoMustExistBeAPngOrJpegAndFitTheFrame) {
    addPicture("/nowhere/a.jpg");
    useLogo(folder / "gone.png");
    expectRefusal("选择的图标文件不存在，请重新选择", "提示", IDC_LOGO_CHOOSE);
}

TEST_F(GenerateChecks, LogoOfAnotherFormatIsRefused) {
    addPicture("/nowhere/a.jpg");
    std::string gif = folder / "logo.png";  // a GIF, whatever its name says
    writeSolidPicture(folder / "l.gif", 10, 10, "#ff0000");
    std::rename((folder / "l.gif").c_str(), gif.c_str());
    useLogo(gif);
    expectRefusal("选中的文件格式不受支持，请选择 PNG 或 JPG 格式的图片。", "错误", IDC_LOGO_CHOOSE);
}

TEST_F(GenerateChecks, LogoLargerThanTheFrameIsRefusedWithItsSize) {
    addPicture("/nowhere/a.jpg");
    std::string exact = folder / "exact.png";
    writeSolidPicture(exact, 800, 800, "#ff0000");
    useLogo(exact);
    EXPECT_EQ(checkBeforeGenerate(), 1);
    std::string wide = folder / "wide.jpg";
    writeSolidPicture(wide, 801, 10, "#ff0000");
    setControlText(IDC_LOGO_PATH, wide);
    expectRefusal("选择的图标尺寸过大(801 x 10)，请选择一个不大于 800 x 800 的图标。", "提示",
                  IDC_LOGO_CHOOSE);
}

// A 10 x 10 PNG whose header claims width x 10, grown with a hole to bytes
// (4 KB on disk, whatever its length).
std::string claimedLogo(const TempFolder& folder, const std::string& name, std::uint32_t width,
                        std::uintmax_t bytes) {
    std::string path = folder / name;
    writeSolidPicture(path, 10, 10, "#ff0000");
    const char field[] = {char(width >> 24), char(width >> 16 & 0xFF), char(width >> 8 & 0xFF), char(width & 0xFF)};
    std::fstream(path, std::ios::in | std::ios::out | std::ios::binary).seekp(16).write(field, 4);
    if (bytes) std::filesystem::resize_file(path, bytes);
    return path;
}

// The check before generating refuses from the header; the copy made for
// the encoder, which does not know the video's size, refuses by the bytes.
TEST_F(GenerateChecks, LogoLargerThanAnyRealLogoIsRefusedBeforeItIsCopied) {
    addPicture("/nowhere/a.jpg");
    useLogo("");
    const std::uintmax_t bound = kMaxLogoBytes;
    const struct {
        const char* name;
        std::uint32_t width;
        std::uintmax_t bytes;  // 0: as written
        const char* refusal;   // null: accepted
        bool copied;
    } cases[] = {
        {"wide.png", 65546, 0, "选择的图标尺寸过大(65546 x 10)，请选择一个不大于 800 x 800 的图标。", true},
        {"at-bound.png", 10, bound, nullptr, true},
        {"past-bound.png", 10, bound + 1, "选择的图标文件过大(80.0 MB)，请选择一个不大于 80 MB 的图标。", false},
        {"sparse.png", 10, std::uintmax_t{1} << 30, "选择的图标文件过大(1024.0 MB)，请选择一个不大于 80 MB 的图标。",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string logo = claimedLogo(folder, c.name, c.width, c.bytes);
        setControlText(IDC_LOGO_PATH, logo);
        const std::size_t shown = recorded().boxes.size();
        EXPECT_EQ(checkBeforeGenerate(), c.refusal ? 0 : 1);
        const auto boxes = recorded().boxes;
        EXPECT_EQ(boxes.size(), shown + (c.refusal ? 1 : 0));
        if (c.refusal && boxes.size() > shown) EXPECT_EQ(boxes.back().text, c.refusal);

        std::unique_ptr<LogoCopy> copy = LogoCopy::make(logo, workFolder);
        EXPECT_EQ(copy != nullptr, c.copied);
        if (copy) EXPECT_EQ(std::filesystem::file_size(workFolder + "/" + copy->name()), std::filesystem::file_size(logo));
        copy.reset();
        EXPECT_TRUE(std::filesystem::is_empty(workFolder)) << "nothing left behind";
    }
}

TEST_F(GenerateChecks, PreviewPlacesTheLogoAndDropsItWhenUnchecked) {
    addPicture("/nowhere/a.jpg");
    std::string logo = folder / "标志.png";
    writeSolidPicture(logo, 50, 30, "#ff0000");
    useLogo(logo, 3);
    frameOutputMode = 2;
    ASSERT_EQ(checkBeforeGenerate(), 1);
    ASSERT_NE(previewLogoWand, nullptr);
    EXPECT_EQ(previewLogoX, 800 - 50 - 20);
    EXPECT_EQ(previewLogoY, 800 - 30 - 20);
    setChecked(IDC_LOGO_CHECK, 0);
    ASSERT_EQ(checkBeforeGenerate(), 1);
    EXPECT_EQ(previewLogoWand, nullptr);
}

TEST(LogoPlacement, EightPositionsInsetOrAtTheEdge) {
    int x = 0, y = 0;
    const int expected[8][2] = {{20, 20}, {20, 750}, {730, 20}, {730, 750},
                                {0, 0},   {0, 770},  {750, 0},  {750, 770}};
    for (int position = 0; position < 8; ++position) {
        placeLogo(position, 800, 800, 50, 30, &x, &y);
        EXPECT_EQ(x, expected[position][0]) << position;
        EXPECT_EQ(y, expected[position][1]) << position;
    }
    placeLogo(-1, 800, 800, 50, 30, &x, &y);
    EXPECT_EQ(x, 750);
    EXPECT_EQ(y, 0);
}
