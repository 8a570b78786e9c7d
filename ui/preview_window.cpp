#include "ui/preview_window.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include <cmath>
#include <string>

#include "foundation/globals.h"
#include "platform/command_ids.h"
#include "platform/main_command.h"
#include "platform/message_box.h"
#include "platform/run_memory.h"
#include "platform/ui_thread.h"
#include "ui/kit/window_geometry.h"
#include "ui/preview_pictures.h"

namespace {

constexpr int kMargin = 8;
constexpr float kScreenShare = 0.85f;
// How often a wait on the user-interface thread looks at its condition.
constexpr int kWaitPollMs = 5;
// The status a failed picture decoding reports (E_FAIL).
constexpr long kDecodeFailure = -2147467259L;

QPointer<PreviewWindow> theWindow;

int runWindow(const std::function<bool()>& runEnded) {
    return theWindow ? theWindow->run(runEnded) : 0;
}

int windowVisible() { return theWindow && theWindow->isVisible() ? 1 : 0; }

void showFrameInWindow(const unsigned char* bytes, std::size_t length, int width, int height) {
    if (PreviewWindow* window = theWindow) window->showFrame(bytes, length, width, height);
}

void showPictureInWindow(PreviewPicture picture) {
    if (PreviewWindow* window = theWindow) window->showPicture(picture);
}

const PreviewWindowHandler handler{runWindow, windowVisible, showFrameInWindow, showPictureInWindow,
                                   waitServingQueuedCalls};

int roundHalfUp(float value) { return static_cast<int>(std::floor(value + 0.5f)); }

} // namespace

QRect previewPictureRect(QSize clientSize, QSize pictureSize) {
    const int aw = clientSize.width() - 2 * kMargin;
    const int ah = clientSize.height() - 2 * kMargin;
    int w = pictureSize.width();
    int h = pictureSize.height();
    if (w > 0 && h > 0 && (aw < w || ah < h)) {
        const float scale = std::min(static_cast<float>(aw) / static_cast<float>(w),
                                     static_cast<float>(ah) / static_cast<float>(h));
        w = roundHalfUp(scale * static_cast<float>(w));
        h = roundHalfUp(scale * static_cast<float>(h));
    }
    return QRect((aw - w) / 2 + kMargin, (ah - h) / 2 + kMargin, w, h);
}

QImage previewFrameImage(const unsigned char* rgb, int width, int height) {
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    auto* block = static_cast<QRgb*>(acquireRunMemory(pixels * sizeof(QRgb)));
    if (!block) return QImage();
    for (std::size_t i = 0; i < pixels; ++i, rgb += 3) block[i] = qRgb(rgb[0], rgb[1], rgb[2]);
    return QImage(reinterpret_cast<uchar*>(block), width, height, width * static_cast<int>(sizeof(QRgb)),
                  QImage::Format_RGB32, releaseRunMemory, block);
}

// Processes the events itself rather than running an event loop: once the
// program is quitting, a new event loop returns at once and serves nothing.
void waitServingQueuedCalls(const std::function<bool()>& done) {
    QTimer wake;  // looks at done() again at least this often
    wake.start(kWaitPollMs);
    while (!done())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
}

PreviewWindow::PreviewWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
    setWindowTitle(QString::fromUtf8("预览 - 提示：预览窗口显示的效果与最终生成的视频可能会有些差异"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    ::setWindowIcon(this);
    QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                    : QRect(0, 0, 1024, 768);
    setClientSize(this, static_cast<int>(kScreenShare * static_cast<float>(screen.width())),
                  static_cast<int>(kScreenShare * static_cast<float>(screen.height())), nullptr);
    centerWindow(this);
}

QImage PreviewWindow::picture() const {
    std::lock_guard<std::mutex> hold(previewLock);
    return previewPicture;
}

bool PreviewWindow::isStartPicture() const {
    std::lock_guard<std::mutex> hold(previewLock);
    return previewIsStartPicture;
}

// The picture is scaled here, on the caller's thread, for the client size
// as it stands, so the user-interface thread only copies it when painting.
void PreviewWindow::loadPicture(QImage image, bool isStart) {
    const QRect place = previewPictureRect(QSize(clientWidth, clientHeight), image.size());
    QImage scaled;
    if (!image.isNull() && place.size() != image.size() && !place.isEmpty())
        scaled = image.scaled(place.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    std::lock_guard<std::mutex> hold(previewLock);
    previewPicture = std::move(image);
    scaledPicture = std::move(scaled);
    previewIsStartPicture = isStart;
}

void PreviewWindow::dropPicture() {
    std::lock_guard<std::mutex> hold(previewLock);
    previewPicture = QImage();
    scaledPicture = QImage();
    previewIsStartPicture = false;
}

void PreviewWindow::requestRepaint() {
    QPointer<PreviewWindow> window(this);
    runOnUiThread([window] {
        if (window) window->update();
    });
}

void PreviewWindow::showFrame(const unsigned char* bytes, std::size_t length, int width, int height) {
    const std::size_t rawLength = static_cast<std::size_t>(width > 0 ? width : 0) *
                                  static_cast<std::size_t>(height > 0 ? height : 0) * 3;
    QImage image;
    if (rawLength > 0 && length == rawLength) {
        image = previewFrameImage(bytes, width, height);
    } else if (!image.loadFromData(bytes, static_cast<int>(length))) {
        dropPicture();
        messageBox(static_cast<QWidget*>(this), "Call OleLoadPicture() Fail - status:" + std::to_string(kDecodeFailure) + "\n",
                   "Error", MB_ICONERROR);
        QPointer<PreviewWindow> window(this);
        runOnUiThread([window] {
            if (window) window->close();
        });
        return;
    }
    loadPicture(std::move(image), bytes == previewStartGif);
    requestRepaint();
}

void PreviewWindow::showPicture(PreviewPicture picture) {
    switch (picture) {
    case PreviewPicture::Start: showFrame(previewStartGif, sizeof previewStartGif, 0, 0); break;
    case PreviewPicture::End: showFrame(previewEndGif, sizeof previewEndGif, 0, 0); break;
    case PreviewPicture::Blank: showFrame(previewBlankGif, sizeof previewBlankGif, 0, 0); break;
    }
}

void PreviewWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    std::lock_guard<std::mutex> hold(previewLock);
    if (previewPicture.isNull()) return;
    const QRect place = previewPictureRect(size(), previewPicture.size());
    if (previewRunState != 2 && !previewIsStartPicture) {
        painter.setPen(QPen(Qt::black, 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(place.adjusted(-1, -1, 0, 0));
    }
    if (scaledPicture.size() == place.size()) {
        painter.drawImage(place.topLeft(), scaledPicture);
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(place, previewPicture);
    }
}

void PreviewWindow::resizeEvent(QResizeEvent*) {
    clientWidth = width();
    clientHeight = height();
    update();
}

void PreviewWindow::endRun() {
    // Tells the render and player threads to stop.
    int wasRunning = 1;
    previewRunState.compare_exchange_strong(wasRunning, 0);
    dropPicture();
    loopFlag_ = false;
    if (loop_) loop_->quit();
}

void PreviewWindow::stop() {
    if (!looping_) return;
    endRun();
    waitServingQueuedCalls(runEnded_);
}

void PreviewWindow::closeEvent(QCloseEvent* event) {
    endRun();
    event->accept();
}

void PreviewWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && isVisible()) close();
    else QWidget::keyPressEvent(event);
}

void PreviewWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && previewRunState == 2)
        sendMainCommand(IDM_PREVIEW_VIDEO, BN_CLICKED);
}

int PreviewWindow::run(const std::function<bool()>& runEnded) {
    if (!isVisible()) showMaximized();
    showPicture(PreviewPicture::Start);
    update();
    activateWindow();
    setFocus();
    // A preview started again from inside the window uses the running loop.
    if (looping_) return 1;

    looping_ = true;
    loopFlag_ = true;
    runEnded_ = runEnded;
    QWidget* owner = parentWidget();
    show();
    raise();
    if (owner) owner->setEnabled(false);
    setEnabled(true);  // a window keeps working over its disabled owner

    QEventLoop loop;
    loop_ = &loop;
    if (loopFlag_ && isVisible()) loop.exec();
    loop_ = nullptr;
    // Ended otherwise than by closing (the program quits, or the window
    // was hidden with its owner): the run stops all the same.
    endRun();
    // The list must not change under a render that is still ending.
    waitServingQueuedCalls(runEnded);
    looping_ = false;

    if (owner) {
        owner->setEnabled(true);
        owner->raise();
        owner->activateWindow();
    }
    hide();
    return 1;
}

PreviewWindow* createPreviewWindow(QWidget* owner) {
    if (!theWindow) theWindow = new PreviewWindow(owner);
    setPreviewWindowHandler(&handler);
    return theWindow;
}

PreviewWindow* previewWindow() { return theWindow; }
