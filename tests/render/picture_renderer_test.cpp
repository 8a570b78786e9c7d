#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "effect_harness.h"
#include "foundation/globals.h"
#include "foundation/hash_map.h"
#include "platform/command_ids.h"
#include "platform/message_box.h"
#include "platform/window_controls.h"
#include "render/effects/effect_table.h"
#include "render/picture_renderer.h"

using namespace harness;

namespace {

std::vector<std::string> boxTexts;
int recordBox(void*, const std::string& text, const std::string&, unsigned) {
    boxTexts.push_back(text);
    return IDOK;
}

// The font-size combo holding size alone, selected.
void selectFontSize(const std::string& size) {
    resetWindowControls();
    comboSetCurSel(IDC_FONT_SIZE, comboAddString(IDC_FONT_SIZE, size));
}

class Renderer : public ::testing::Test {
protected:
    void SetUp() override {
        saved = {videoWidth, videoHeight, pauseFrames, videoBgFillColor};
        videoWidth = 256;
        videoHeight = 256;
        pauseFrames = 3;
        videoBgFillColor = 0;
        boxTexts.clear();
        savedBox = setMessageBoxHandler(recordBox);
        selectFontSize("36");
        picture.path = dir / "红色 图片[1].png";
        writePicture(solidCanvas(128, 64, "#ff0000").get(), picture.path);
        picture.caption->fontName = "黑体";
        picture.caption->boxColor = captionBoxColors[0];
        picture.caption->textColor = captionTextColors[0];
        picture.caption->position = 4;
        picture.effectIndex = 99;
    }
    void TearDown() override {
        videoWidth = saved[0];
        videoHeight = saved[1];
        pauseFrames = saved[2];
        videoBgFillColor = saved[3];
        encoderInput = nullptr;
        setMessageBoxHandler(savedBox);
        resetWindowControls();
    }

    struct Rendered {
        WandPtr result;
        std::vector<Frame> frames;
        int calls = 0;
    };
    Rendered render(WandPtr previous = nullptr, int refuseAt = -1) {
        RawFrames raw;
        RecordingSink sink(refuseAt);
        encoderInput = sink.handle();
        Rendered out;
        out.result.reset(renderPicture(&picture, previous.release(), nullptr));
        out.calls = sink.calls();
        for (std::size_t i = 0; i < sink.blobs().size(); ++i) out.frames.push_back(sink.frame(i));
        return out;
    }
    int count() {
        int frames = -1;
        EXPECT_EQ(renderPicture(&picture, nullptr, &frames), nullptr);
        return frames;
    }

    TempFolder dir;
    PictureRecord picture;
    std::vector<int> saved;
    MessageBoxHandler savedBox = nullptr;
};

} // namespace

TEST_F(Renderer, FitsThePictureOnTheBackgroundAndRunsItsEffect) {
    picture.effectIndex = 31;
    Rendered out = render(solidCanvas(256, 256, "#0000ff"));
    ASSERT_EQ(out.frames.size(), 17u + 3u);
    EXPECT_EQ(static_cast<int>(out.frames.size()), count());
    const Frame& last = out.frames.back();
    EXPECT_EQ(last.at(128, 128), kRed);
    EXPECT_EQ(last.at(64, 96), kRed);
    EXPECT_EQ(last.at(63, 96), rgbOf("#ffffff"));
    EXPECT_EQ(last.at(128, 95), rgbOf("#ffffff"));
    EXPECT_EQ(frameOf(out.result.get()), last);
}

TEST_F(Renderer, BlackBackgroundWhenChosen) {
    videoBgFillColor = 1;
    Rendered out = render();
    ASSERT_EQ(out.frames.size(), 3u);
    EXPECT_EQ(out.frames[0].at(10, 10), kBlack);
    EXPECT_EQ(out.frames[0].at(128, 128), kRed);
}

TEST_F(Renderer, CountModeReadsNothingAndLeavesPreviousAlone) {
    picture.path = dir / "gone.png";
    picture.effectIndex = 0;
    WandPtr previous = solidCanvas(256, 256, "#0000ff");
    int frames = -1;
    EXPECT_EQ(renderPicture(&picture, previous.get(), &frames), nullptr);
    EXPECT_EQ(frames, 21 + 3);
    EXPECT_TRUE(boxTexts.empty());
    EXPECT_EQ(pixelOf(previous.get(), 5, 5), kBlue);
}

TEST_F(Renderer, PictureGoneAtRenderTimeRendersTheBackgroundForItsFrames) {
    picture.path = dir / "gone.png";
    for (int index : {0, 31, 99}) {
        picture.effectIndex = index;
        boxTexts.clear();
        Rendered out = render(solidCanvas(256, 256, "#0000ff"));
        EXPECT_EQ(static_cast<int>(out.frames.size()), count()) << index;
        ASSERT_NE(out.result, nullptr);
        EXPECT_EQ(frameOf(out.result.get()), frameOf(solidCanvas(256, 256, "#ffffff").get()));
        EXPECT_EQ(boxTexts.size(), 1u) << "the read error is shown";
    }
}

TEST_F(Renderer, IndicesWithoutAnEffectHoldThePictureWithTheCaptionAtOnce) {
    picture.caption->mode = 1;
    picture.caption->text = "新品";
    picture.effectIndex = 99;
    Rendered reference = render();
    ASSERT_EQ(reference.frames.size(), 3u);
    EXPECT_EQ(reference.frames[0], reference.frames[2]);
    for (int index : {93, 94, 150, -1}) {
        picture.effectIndex = index;
        Rendered out = render();
        EXPECT_EQ(out.frames, reference.frames) << index;
    }
}

TEST_F(Renderer, CaptionNeedsAModeAndAText) {
    picture.effectIndex = 99;
    Rendered plain = render();
    picture.caption->mode = 1;
    EXPECT_EQ(render().frames, plain.frames) << "mode 1, empty text";
    picture.caption->mode = 0;
    picture.caption->text = "新品";
    EXPECT_EQ(render().frames, plain.frames) << "text, mode 0";
    picture.caption->mode = 1;
    Rendered one = render();
    EXPECT_NE(one.frames, plain.frames);
    picture.caption->mode = 2;
    EXPECT_EQ(render().frames, one.frames) << "mode 2 renders like mode 1";
}

TEST_F(Renderer, CaptionSizeFollowsTheFontSizeCombo) {
    picture.effectIndex = 99;
    picture.caption->mode = 1;
    picture.caption->text = "新品上市";
    auto changedPixels = [&](const std::string& size) {
        selectFontSize(size);
        Rendered out = render();
        int changed = 0;
        picture.caption->mode = 0;
        Frame bare = render().frames.at(0);
        picture.caption->mode = 1;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) changed += !(out.frames.at(0).at(x, y) == bare.at(x, y));
        return changed;
    };
    EXPECT_GT(changedPixels("48"), changedPixels("12") * 2);
}

TEST_F(Renderer, RefusedWriteStillFreesCanvasCaptionAndPrevious) {
    picture.caption->mode = 1;
    picture.caption->text = "新品";
    for (int index : {0, 1, 31, 99}) {
        picture.effectIndex = index;
        int frames = count();
        for (int refuseAt : {0, 5, 20, frames - 2, frames - 1}) {
            if (refuseAt < 0 || refuseAt >= frames) continue;
            Rendered out = render(solidCanvas(256, 256, "#0000ff"), refuseAt);
            EXPECT_EQ(out.result, nullptr) << index << " at " << refuseAt;
        }
    }
}

TEST_F(Renderer, FramesLeaveAsRawPixelsByDefault) {
    RecordingSink sink;
    encoderInput = sink.handle();
    picture.effectIndex = 99;
    WandPtr result(renderPicture(&picture, nullptr, nullptr));
    ASSERT_EQ(sink.blobs().size(), 3u);
    const std::string& blob = sink.blobs()[0];
    ASSERT_EQ(blob.size(), 256u * 256u * 3u);
    auto at = [&](int x, int y) {
        std::size_t i = (static_cast<std::size_t>(y) * 256 + x) * 3;
        return Rgb{static_cast<unsigned char>(blob[i]), static_cast<unsigned char>(blob[i + 1]),
                   static_cast<unsigned char>(blob[i + 2])};
    };
    // The 128 x 64 picture lies centred between white bands.
    EXPECT_EQ(at(128, 128), kRed);
    EXPECT_EQ(at(128, 97), kRed);
    EXPECT_EQ(at(128, 94), rgbOf("#ffffff"));
    EXPECT_EQ(at(0, 0), rgbOf("#ffffff"));
}

TEST(EffectNames, NamesComeFromTheMapAndIndicesWithoutOneHaveNoAnimation) {
    buildEffectNameMap();
    ASSERT_NE(effectNameMap, nullptr);
    EXPECT_EQ(effectNameMap->count, 97);
    EXPECT_STREQ(getEffectName(0), "逐渐缩小");
    EXPECT_STREQ(getEffectName(31), "淡入淡出");
    EXPECT_STREQ(getEffectName(98), "上下关门");
    for (int index : {93, 94, 99, 150, -1}) EXPECT_STREQ(getEffectName(index), "无动画") << index;
    buildEffectNameMap();
    EXPECT_EQ(effectNameMap->count, 97);
}
