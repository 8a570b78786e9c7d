#include "ui/progress_window.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>

#include <thread>

#include "dialog_test_support.h"
#include "spawn_recorder.h"
#include "foundation/globals.h"
#include "platform/message_box.h"
#include "platform/progress_window.h"
#include "platform/ui_thread.h"
#include "ui/ui_thread_runner.h"

using namespace dialog_test;

namespace {

// What the user sees while the run lasts, read on the user-interface thread.
struct Seen {
    bool visible = false, modal = false;
    std::string status, stopText;
    bool stopEnabled = false;
    int bar = -1, barMaximum = -1;
};

class ProgressWindowTest : public testing::Test {
protected:
    SpawnRecorder launches;
    void SetUp() override {
        installUiThreadRunner();
        window = createProgressDialog(&owner);
    }
    void TearDown() override {
        setProgressWindowHandler(nullptr);
        setUiThreadRunner(nullptr);
    }

    Seen look() {
        Seen seen;
        runOnUiThread([&] {
            seen.visible = window->isVisible();
            seen.modal = QApplication::activeModalWidget() == window;
            seen.status = window->statusLine()->text().toStdString();
            seen.stopText = window->stopButton()->text().toStdString();
            seen.stopEnabled = window->stopButton()->isEnabled();
            seen.bar = window->bar()->value();
            seen.barMaximum = window->bar()->maximum();
        });
        return seen;
    }

    // A video thread: pictures before stopAt are announced; at stopAt the
    // user acts (act runs on the user-interface thread), then the thread
    // ends with the outcome message, as the encoder runners send it.
    void generate(int pictures, int stopAt, const std::function<void()>& act, unsigned outcome) {
        stopFlag = 0;
        std::thread worker([&] {
            for (int i = 1; i <= pictures && !stopFlag; ++i) {
                runOnUiThread([i] { updateProgress(i); });
                if (i == stopAt) runOnUiThread(act);
            }
            if (outcome == WM_ENCODE_FAILED) stopFlag = 1;  // as the encoder runners do
            runOnUiThread([outcome] { sendProgressMessage(outcome); });
        });
        startProgressDialog("/tmp/out.mp4", pictures, &stopFlag);
        worker.join();
    }

    BoxRecorder boxes;
    QWidget owner;
    ProgressWindow* window = nullptr;
};

TEST_F(ProgressWindowTest, StopMidRunLeavesTheWindowUsable) {
    Seen before, afterStop;
    generate(5, 3, [&] {
        before = look();
        // Neither Escape nor closing ends the run.
        pressKey(window, Qt::Key_Escape);
        window->close();
        window->stopButton()->click();
        afterStop = look();
    }, WM_ENCODE_STOPPED);

    EXPECT_TRUE(before.visible);
    EXPECT_TRUE(before.modal);
    EXPECT_EQ(before.status, "共 5 张图片，正在处理第 3 张。");
    EXPECT_EQ(before.bar, 2);
    EXPECT_EQ(before.barMaximum, 5);
    EXPECT_TRUE(afterStop.visible);
    EXPECT_EQ(afterStop.stopText, "停止中...");
    EXPECT_FALSE(afterStop.stopEnabled);
    EXPECT_EQ(stopFlag.load(), 1);

    // The outcome restored the button and ended the run without a question.
    Seen after = look();
    EXPECT_FALSE(after.visible);
    EXPECT_EQ(after.stopText, "停止");
    EXPECT_TRUE(after.stopEnabled);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_TRUE(launches.spawned.empty());

    // The next run goes to its end and asks; No plays nothing.
    Seen first;
    boxes.answer(IDNO);
    generate(2, 1, [&] { first = look(); }, WM_ENCODE_DONE);
    EXPECT_EQ(first.status, "共 2 张图片，正在处理第 1 张。");
    EXPECT_EQ(first.bar, 0);
    EXPECT_EQ(first.barMaximum, 2);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "视频文件已生成，是否要查看该视频？");
    EXPECT_EQ(boxes.boxes[0].caption, "完成");
    EXPECT_EQ(boxes.boxes[0].type, unsigned(MB_ICONINFORMATION | MB_YESNO));
    EXPECT_EQ(boxes.boxes[0].owner, static_cast<QWidget*>(&owner));
    EXPECT_TRUE(launches.spawned.empty());

    // Yes opens the video with the desktop's player.
    generate(1, 0, [] {}, WM_ENCODE_DONE);
    ASSERT_EQ(launches.spawned.size(), 1u);
    EXPECT_EQ(launches.spawned[0], (std::vector<std::string>{"xdg-open", "/tmp/out.mp4"}));
}

TEST_F(ProgressWindowTest, ClosingMidRunAsksTheRunToStop) {
    // The window asks for a title bar only; a close box added by the window
    // manager all the same stops the run, as Stop does.
    const Qt::WindowFlags buttons =
        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint;
    EXPECT_FALSE(window->windowFlags() & buttons);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowTitleHint);

    Seen afterClose;
    generate(3, 2, [&] {
        window->close();
        afterClose = look();
    }, WM_ENCODE_STOPPED);
    EXPECT_TRUE(afterClose.visible);
    EXPECT_EQ(afterClose.stopText, "停止中...");
    EXPECT_FALSE(afterClose.stopEnabled);
    EXPECT_EQ(stopFlag.load(), 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(ProgressWindowTest, AFailureAsksNothingAndTheNextRunEnablesStop) {
    generate(4, 2, [&] { window->stopButton()->click(); }, WM_ENCODE_FAILED);
    // The button keeps its state until the next run.
    EXPECT_FALSE(window->stopButton()->isEnabled());
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(boxes.boxes.empty());

    Seen running;
    generate(4, 1, [&] { running = look(); }, WM_ENCODE_FAILED);
    EXPECT_EQ(running.stopText, "停止");
    EXPECT_TRUE(running.stopEnabled);
    EXPECT_TRUE(boxes.boxes.empty());  // the failure leaves the stop flag set
}

TEST_F(ProgressWindowTest, TheWindowOwnsTheEncoderErrorBoxesAndSitsAtItsSize) {
    EXPECT_EQ(hwndProgressDialog, static_cast<QWidget*>(window));
    EXPECT_EQ(window->size(), QSize(353, 82));
    EXPECT_EQ(window->windowTitle().toStdString(), "处理进度");
    EXPECT_EQ(window->bar()->geometry(), QRect(16, 22, 239, 23));
    EXPECT_EQ(window->stopButton()->geometry(), QRect(265, 21, 66, 25));
    EXPECT_EQ(window->statusLine()->geometry(), QRect(16, 55, 318, 21));
    EXPECT_EQ(createProgressDialog(&owner), window);  // created once
}

}  // namespace
