// The preview window "预览 - ...": plays the preview's frames as the
// player thread hands them over, with the built-in start, end and blank
// pictures. It implements platform/preview_window.h.
//
// A run (startPreview) shows it over the main window, which stays disabled
// until the window is closed and the preview's threads have ended. Closing
// (or Escape) during a run stops the preview (previewRunState 1 -> 0) and
// drops the picture; after the end (state 2) a click replays the preview.
//
// The shown picture is guarded by previewLock: the player thread sets it,
// the user-interface thread paints it. Workers reach the widget only
// through runOnUiThread.
#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

#include <atomic>
#include <cstddef>
#include <functional>
#include <mutex>

#include "platform/preview_window.h"

class QEventLoop;

// Where a picture of pictureSize is drawn in a client area of clientSize:
// in the area less an 8-pixel margin all round, scaled down (never up) to
// fit it with halves rounded up, and centred.
QRect previewPictureRect(QSize clientSize, QSize pictureSize);

// A raw frame (rgb24 rows of width x height) as the window keeps it: RGB32
// pixels in run memory (platform/run_memory.h), so the frames a preview
// shows reuse their pages while it runs and go back when it ends, and the
// smooth scaling reads them without a converted copy of its own. Null when
// memory is refused.
QImage previewFrameImage(const unsigned char* rgb, int width, int height);

class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    explicit PreviewWindow(QWidget* owner);

    // The modal run of PreviewWindowHandler::run.
    int run(const std::function<bool()>& runEnded);
    // Ends a run as closing the window does, also while the window is
    // hidden with its owner, and returns once the run's threads have ended
    // (serving their queued calls meanwhile). Nothing when no run is on.
    void stop();
    // Any thread: a frame (raw rgb24 of width x height, or an encoded
    // picture) or a built-in picture becomes the shown picture.
    void showFrame(const unsigned char* bytes, std::size_t length, int width, int height);
    void showPicture(PreviewPicture picture);

    // The shown picture (null when none) and whether it is the start picture.
    QImage picture() const;
    bool isStartPicture() const;
    bool running() const { return looping_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void endRun();
    void loadPicture(QImage image, bool isStart);
    void dropPicture();
    void requestRepaint();

    mutable std::mutex previewLock;
    QImage previewPicture;          // as received
    QImage scaledPicture;           // made for the client size at the time
    bool previewIsStartPicture = false;
    std::atomic<int> clientWidth{0};
    std::atomic<int> clientHeight{0};

    bool looping_ = false;
    bool loopFlag_ = false;
    QEventLoop* loop_ = nullptr;
    std::function<bool()> runEnded_;
};

// Creates the hidden window over owner (the main window), once, and
// installs it as the program's preview window. Later calls return it.
PreviewWindow* createPreviewWindow(QWidget* owner);

// The window, or null before createPreviewWindow and after it is gone.
PreviewWindow* previewWindow();

// Returns once done() is true, running the calls workers queue to the
// user-interface thread meanwhile but no user input.
void waitServingQueuedCalls(const std::function<bool()>& done);
