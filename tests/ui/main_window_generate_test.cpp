// A video made from the window end to end: pictures added, a custom size
// chosen, the save dialog and the play question answered, the real encoder
// run; and a run stopped half-way.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include "foundation/globals.h"
#include "main_window_support.h"
#include "platform/command_ids.h"
#include "platform/message_box.h"
#include "platform/window_controls.h"
#include "production/encoder_pipeline.h"
#include "production/picture_list.h"
#include "production/timing.h"
#include "ui/control_registry.h"
#include "ui/custom_size_dialog.h"
#include "ui/progress_window.h"

using main_window_test::MainWindowTest;
using main_window_test::probeVideo;
using main_window_test::whenModal;

class MainWindowGenerate : public MainWindowTest {
protected:
    void chooseSize(const char* width, const char* height) {
        whenModal("CustomVideoSizeDialog", [=](QWidget* modal) {
            auto* dialog = static_cast<CustomVideoSizeDialog*>(modal);
            dialog->widthEdit()->setText(width);
            dialog->heightEdit()->setText(height);
            dialog->okButton()->click();
        });
        pick(IDC_VIDEO_SIZE, comboGetCount(IDC_VIDEO_SIZE) - 1);
    }
    bool asked(const std::string& text) const {
        for (const auto& box : boxes.boxes)
            if (box.text == text) return true;
        return false;
    }
};

TEST_F(MainWindowGenerate, TwoPicturesBecomeAVideoOfTheCountedLength) {
    answerOpenFiles({picture("a.png", 300, 200, "#ff0000"), picture("b.jpg", 200, 300, "#0000ff")});
    click(IDM_ADD_PICTURES);
    pick(IDC_PAUSE_TIME, 3);  // 0.2 s: 5 frames
    chooseSize("256", "256");
    ASSERT_EQ(videoWidth, 256);
    const int frames = getTotalFrames();
    const std::string video = folder / "视频 1.mp4";
    answerSaveFile(video);
    boxes.answer(IDNO);

    click(IDM_MAKE_VIDEO);
    waitForVideoThreads();

    EXPECT_TRUE(asked("视频文件已生成，是否要查看该视频？"));
    main_window_test::VideoFacts facts = probeVideo(video);
    EXPECT_EQ(facts.width, 256);
    EXPECT_EQ(facts.height, 256);
    EXPECT_EQ(facts.frames, frames);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainWindowGenerate, StopHalfWayLeavesTheWindowUsable) {
    std::string red = picture("red.png", 400, 400, "#ff0000");
    answerOpenFiles(std::vector<std::string>(8, red));
    click(IDM_ADD_PICTURES);
    pick(IDC_PAUSE_TIME, 21);  // 5 s per picture: long enough to stop
    chooseSize("512", "512");
    answerSaveFile(folder / "stopped.mp4");
    whenModal("ProgressWindow", [](QWidget* modal) {
        static_cast<ProgressWindow*>(modal)->stopButton()->click();
    });

    click(IDM_MAKE_VIDEO);
    waitForVideoThreads();

    EXPECT_FALSE(asked("视频文件已生成，是否要查看该视频？")) << "a stopped video is not offered";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // The window answers again.
    click(IDM_ADD_PICTURES);
    EXPECT_EQ(pictureListSize(), 16);
}
