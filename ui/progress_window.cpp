#include "ui/progress_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

#include "foundation/globals.h"
#include "platform/message_box.h"
#include "ui/kit/default_font.h"
#include "ui/kit/window_geometry.h"
#include "platform/progress_window.h"
#include "ui/play_page.h"

namespace {

constexpr int kClientWidth = 353;
constexpr int kClientHeight = 82;

QPointer<ProgressWindow> theWindow;

void startRun(const std::string& videoPath, int pictureCount, std::atomic<int>* stopFlag) {
    if (ProgressWindow* window = theWindow) window->run(videoPath, pictureCount, stopFlag);
}

void updateRun(int index) {
    if (ProgressWindow* window = theWindow) window->showPicture(index);
}

void endRun(unsigned message) {
    if (ProgressWindow* window = theWindow) window->receive(message);
}

const ProgressWindowHandler handler{startRun, updateRun, endRun};

} // namespace

ProgressWindow::ProgressWindow(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint) {
    setWindowTitle(QString::fromUtf8("处理进度"));
    setFixedSize(kClientWidth, kClientHeight);

    bar_ = new QProgressBar(this);
    bar_->setGeometry(16, 22, 239, 23);
    bar_->setTextVisible(false);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    stop_ = new QPushButton(QString::fromUtf8("停止"), this);
    stop_->setGeometry(265, 21, 66, 25);
    stop_->setAutoDefault(false);
    status_ = new QLabel(QString::fromUtf8("共 0 张图片，正在处理第 0 张。"), this);
    status_->setGeometry(16, 55, 318, 21);
    connect(stop_, &QPushButton::clicked, this, &ProgressWindow::onStop);
    setDefaultFontOnChildren(this);
    ::setWindowIcon(this);
    centerWindow(this);
}

void ProgressWindow::setStatus(int index) {
    status_->setText(QString::fromUtf8("共 %1 张图片，正在处理第 %2 张。").arg(pictureCount_).arg(index));
}

void ProgressWindow::run(const std::string& videoPath, int pictureCount, std::atomic<int>* stopFlag) {
    if (!stop_->isEnabled()) {
        stop_->setText(QString::fromUtf8("停止"));
        stop_->setEnabled(true);
    }
    videoPath_ = videoPath;
    pictureCount_ = pictureCount;
    stopFlag_ = stopFlag;
    if (running_) return;

    bar_->setRange(0, pictureCount > 0 ? pictureCount : 0);
    bar_->setValue(0);
    setStatus(1);
    running_ = true;
    exec();
    running_ = false;

    QWidget* owner = parentWidget();
    if (owner && owner->isVisible()) {
        owner->raise();
        owner->activateWindow();
    }
    if (!stopFlag_ || stopFlag_->load()) return;  // stopped or failed
    if (messageBox(owner, "视频文件已生成，是否要查看该视频？", "完成", MB_ICONINFORMATION | MB_YESNO) != IDYES)
        return;
    playGeneratedVideo(owner, videoPath_);
}

void ProgressWindow::showPicture(int index) {
    setStatus(index);
    bar_->setValue(index - 1);
}

void ProgressWindow::receive(unsigned message) {
    if (message == WM_ENCODE_STOPPED) {
        stop_->setText(QString::fromUtf8("停止"));
        stop_->setEnabled(true);
    }
    bool outcome = message == WM_ENCODE_DONE || message == WM_ENCODE_STOPPED || message == WM_ENCODE_FAILED;
    if (outcome && running_) done(Accepted);
}

void ProgressWindow::onStop() {
    stop_->setText(QString::fromUtf8("停止中..."));
    stop_->setEnabled(false);
    if (stopFlag_) *stopFlag_ = 1;
}

// Closing or escaping mid-run would leave the workers running behind a
// main window the user can change; only Stop or an outcome ends a run.
void ProgressWindow::reject() {}

// The window asks for a title bar without a close box, but some window
// managers add one all the same: closing mid-run then asks the run to stop,
// as Stop does, and the outcome ends it.
void ProgressWindow::closeEvent(QCloseEvent* event) {
    if (!running_) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    if (stop_->isEnabled()) onStop();
}

ProgressWindow* createProgressDialog(QWidget* owner) {
    if (!theWindow) {
        theWindow = new ProgressWindow(owner);
        hwndProgressDialog = static_cast<QWidget*>(theWindow.data());
        QObject::connect(theWindow.data(), &QObject::destroyed, [] { hwndProgressDialog = nullptr; });
    }
    setProgressWindowHandler(&handler);
    return theWindow;
}

ProgressWindow* progressWindow() { return theWindow; }
