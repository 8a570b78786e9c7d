// The preview window: where pictures are drawn, the frame around them, the
// built-in pictures, closing and Escape, the replaying click, and whole
// previews over an owner that stays disabled until the threads have ended.
#include "ui/preview_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "foundation/globals.h"
#include "foundation/linked_list.h"
#include "platform/command_ids.h"
#include "platform/main_command.h"
#include "platform/message_box.h"
#include "platform/ui_thread.h"
#include "platform/window_controls.h"
#include "production/preview_player.h"
#include "production/preview_queue.h"
#include "production/preview_run.h"
#include "render/picture_record.h"
#include "ui/ui_thread_runner.h"

namespace {

using std::chrono::milliseconds;

TEST(PreviewPictureRect, ScalesDownOnlyAndCentres) {
    struct Case {
        QSize client, picture;
        QRect expected;
    };
    const Case cases[] = {
        {{816, 616}, {1600, 1200}, {8, 8, 800, 600}},
        {{1016, 616}, {1600, 1200}, {108, 8, 800, 600}},
        {{816, 616}, {100, 50}, {358, 283, 100, 50}},   // never enlarged
        {{516, 416}, {1000, 333}, {8, 124, 500, 167}},  // 166.5 rounds up
        {{116, 66}, {100, 50}, {8, 8, 100, 50}},        // exactly fits
    };
    for (const Case& c : cases) EXPECT_EQ(previewPictureRect(c.client, c.picture), c.expected) << c.expected.x();
}

// Records the main window's commands.
std::vector<int> commandsSent;
void recordCommand(int id, int) { commandsSent.push_back(id); }

class PreviewWindowTest : public testing::Test {
protected:
    void SetUp() override {
        installUiThreadRunner();
        commandsSent.clear();
        setMainCommandHandler(recordCommand);
        window = createPreviewWindow(&owner);
        previewRunState = 0;
    }
    void TearDown() override {
        previewRunState = 0;
        if (window->isVisible()) window->close();
        setMainCommandHandler(nullptr);
        setUiThreadRunner(nullptr);
    }

    // A width x height frame, top half red and bottom half blue.
    static std::vector<unsigned char> redOverBlue(int width, int height) {
        std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                unsigned char* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
                p[0] = y < height / 2 ? 255 : 0;
                p[2] = y < height / 2 ? 0 : 255;
            }
        return rgb;
    }

    QImage shown() {
        QCoreApplication::processEvents();
        return window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    QWidget owner;
    PreviewWindow* window = nullptr;
};

TEST_F(PreviewWindowTest, DrawsRawFramesWithAFrameExceptAtTheEndOrOnTheStartPicture) {
    struct Case {
        const char* name;
        int state;
        bool startPicture;
        bool framed;
    };
    const Case cases[] = {{"idle", 0, false, true},
                          {"running", 1, false, true},
                          {"played to the end", 2, false, false},
                          {"start picture", 1, true, false}};
    window->resize(216, 116);
    window->show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        previewRunState = c.state;
        std::vector<unsigned char> rgb = redOverBlue(100, 50);
        window->showFrame(rgb.data(), rgb.size(), 100, 50);
        if (c.startPicture) window->showPicture(PreviewPicture::Start);
        QImage image = shown();
        const QRect place = previewPictureRect(window->size(), window->picture().size());
        const QRgb outside = image.pixel(place.left() - 1, place.top() - 1);
        EXPECT_EQ(outside, c.framed ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        EXPECT_EQ(image.pixel(place.right() + 1, place.bottom() + 1), outside);
        EXPECT_EQ(image.pixel(place.left() - 2, place.top() - 2), qRgb(255, 255, 255));
        if (!c.startPicture) {
            EXPECT_EQ(place, QRect(58, 33, 100, 50));
            EXPECT_EQ(image.pixel(place.left(), place.top()), qRgb(255, 0, 0));
            EXPECT_EQ(image.pixel(place.right(), place.bottom()), qRgb(0, 0, 255));
        }
    }
}

TEST_F(PreviewWindowTest, LargeFramesAreScaledToTheWindow) {
    window->resize(416, 216);
    window->show();
    QCoreApplication::processEvents();
    std::vector<unsigned char> rgb = redOverBlue(800, 400);
    window->showFrame(rgb.data(), rgb.size(), 800, 400);
    QImage image = shown();
    EXPECT_EQ(previewPictureRect(window->size(), window->picture().size()), QRect(8, 8, 400, 200));
    EXPECT_EQ(image.pixel(20, 20), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(390, 200), qRgb(0, 0, 255));
}

TEST_F(PreviewWindowTest, BuiltInPicturesDecode) {
    struct Case {
        PreviewPicture picture;
        QSize size;
        bool start;
    };
    const Case cases[] = {{PreviewPicture::Start, {150, 48}, true},
                          {PreviewPicture::End, {264, 118}, false},
                          {PreviewPicture::Blank, {1, 1}, false}};
    for (const Case& c : cases) {
        window->showPicture(c.picture);
        EXPECT_EQ(window->picture().size(), c.size);
        EXPECT_EQ(window->isStartPicture(), c.start);
    }
    EXPECT_EQ(window->picture().pixel(0, 0), qRgb(255, 255, 255));
}

TEST_F(PreviewWindowTest, ClosingStopsARunningPreviewAndDropsThePicture) {
    struct Case {
        int state, after;
    };
    for (const Case& c : {Case{1, 0}, Case{2, 2}, Case{0, 0}}) {
        window->show();
        window->showPicture(PreviewPicture::End);
        previewRunState = c.state;
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(window, &escape);
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(previewRunState, c.after);
        EXPECT_TRUE(window->picture().isNull());
    }
    // Escape while hidden does nothing.
    previewRunState = 1;
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(window, &escape);
    EXPECT_EQ(previewRunState, 1);
}

std::vector<std::string> boxesShown;
int recordBox(void*, const std::string& text, const std::string& caption, unsigned) {
    boxesShown.push_back(caption + ": " + text);
    return IDOK;
}

TEST_F(PreviewWindowTest, AnUndecodablePictureIsSaidAndClosesTheWindow) {
    boxesShown.clear();
    MessageBoxHandler saved = setMessageBoxHandler(recordBox);
    window->show();
    previewRunState = 1;
    const unsigned char garbage[] = {1, 2, 3, 4, 5, 6, 7};
    window->showFrame(garbage, sizeof garbage, 100, 50);  // neither raw 100 x 50 nor a picture
    setMessageBoxHandler(saved);
    EXPECT_EQ(boxesShown, std::vector<std::string>{"Error: Call OleLoadPicture() Fail - status:-2147467259\n"});
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(previewRunState, 0);
    EXPECT_TRUE(window->picture().isNull());
}

TEST_F(PreviewWindowTest, OnlyAClickAfterTheEndReplays) {
    window->show();
    for (int state : {0, 1, 2}) {
        previewRunState = state;
        QMouseEvent click(QEvent::MouseButtonPress, QPointF(30, 30), QPointF(30, 30), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &click);
    }
    EXPECT_EQ(commandsSent, std::vector<int>{IDM_PREVIEW_VIDEO});
}

// Whole previews, with a scripted source standing in for the renderer.
std::atomic<int> sourcesRunning{0};
std::atomic<int> sourceRuns{0};
std::atomic<int> mostSourcesRunning{0};
std::atomic<bool> untilAbandoned{false};

RenderOutcome slowStoppingSource(const RenderSettings& settings, const FrameDestination& destination,
                                 const RenderRunHooks& hooks, int) {
    const int running = ++sourcesRunning;
    if (running > mostSourcesRunning) mostSourcesRunning = running;
    ++sourceRuns;
    std::vector<unsigned char> rgb(static_cast<std::size_t>(settings.width) * settings.height * 3, 200);
    for (int i = 0; untilAbandoned || i < 8; ++i) {
        if (hooks.abandon()) {
            std::this_thread::sleep_for(milliseconds(300));  // a picture still being drawn
            break;
        }
        std::uint32_t written = 0;
        destination.write(destination.handle, rgb.data(), static_cast<std::uint32_t>(rgb.size()), &written,
                          nullptr);
        if (untilAbandoned) std::this_thread::sleep_for(milliseconds(2));
    }
    --sourcesRunning;
    return RenderOutcome::Completed;
}

// The toolbar's preview command, as the main window routes it.
void routePreviewCommand(int id, int) {
    commandsSent.push_back(id);
    if (id == IDM_PREVIEW_VIDEO) togglePreview();
}

class PreviewRunTest : public PreviewWindowTest {
protected:
    void SetUp() override {
        PreviewWindowTest::SetUp();
        setMainCommandHandler(routePreviewCommand);
        resetWindowControls();
        comboAddString(IDC_VIDEO_SIZE, "");
        comboAddString(IDC_VIDEO_SIZE, "160 x 120");
        comboSetCurSel(IDC_VIDEO_SIZE, 1);
        savedList = pictureList;
        pictureList = linkedlist_new();
        picture.effectIndex = 99;
        linkedlist_add(pictureList, &picture);
        videoWidth = 160;
        videoHeight = 120;
        processorCount = 4;
        sourcesRunning = sourceRuns = mostSourcesRunning = 0;
        untilAbandoned = false;
        setPreviewPeriods(milliseconds(5), milliseconds(5));
        setPreviewFrameSource(slowStoppingSource);
    }
    void TearDown() override {
        setPreviewFrameSource(nullptr);
        setPreviewPeriods(milliseconds(0), milliseconds(0));
        linkedlist_free(pictureList, 0);
        pictureList = savedList;
        resetWindowControls();
        PreviewWindowTest::TearDown();
    }

    // Runs act on the user-interface thread once ready() holds.
    void when(std::function<bool()> ready, std::function<void()> act) {
        auto* poll = new QTimer(window);
        QObject::connect(poll, &QTimer::timeout, [poll, ready, act] {
            if (!ready()) return;
            poll->deleteLater();
            poll->stop();
            act();
        });
        poll->start(2);
    }

    PictureRecord picture;
    LinkedList* savedList = nullptr;
};

TEST_F(PreviewRunTest, OwnerStaysDisabledUntilBothThreadsHaveEnded) {
    untilAbandoned = true;
    bool ownerEnabledWhileStopping = true;
    int sourcesWhileStopping = 0;
    when([] { return sourceRuns == 1 && previewQueueEntries() > 0; }, [&] {
        window->close();
        QTimer::singleShot(100, [&] {
            ownerEnabledWhileStopping = owner.isEnabled();
            sourcesWhileStopping = sourcesRunning;
        });
    });
    startPreview();
    EXPECT_EQ(sourcesWhileStopping, 1);  // the render was still ending...
    EXPECT_FALSE(ownerEnabledWhileStopping);  // ...behind a disabled owner
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_TRUE(previewThreadsEnded());
    EXPECT_EQ(previewRunState, 0);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(previewQueueEntries(), 0u);
}

TEST_F(PreviewRunTest, PlaysToTheEndPictureAndAClickReplaysInTheSameWindow) {
    bool ownerEnabledWhilePlaying = true;
    when([] { return previewRunState == 2 && previewThreadsEnded(); }, [&] {
        EXPECT_EQ(window->picture().size(), QSize(264, 118));  // the end picture
        ownerEnabledWhilePlaying = owner.isEnabled();
        QMouseEvent click(QEvent::MouseButtonPress, QPointF(30, 30), QPointF(30, 30), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &click);
        EXPECT_EQ(previewRunState, 1);  // started again inside the running window
        when([] { return previewRunState == 2; }, [&] { window->close(); });
    });
    startPreview();
    EXPECT_FALSE(ownerEnabledWhilePlaying);
    EXPECT_EQ(sourceRuns, 2);
    EXPECT_EQ(mostSourcesRunning, 1);
    EXPECT_EQ(previewRunState, 2);
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_EQ(std::count(commandsSent.begin(), commandsSent.end(), IDM_PREVIEW_VIDEO), 1);
    EXPECT_EQ(std::count(commandsSent.begin(), commandsSent.end(), IDM_PREVIEW_MUSIC_PLAY), 2);
}

}  // namespace
