// The progress window "处理进度" that follows a video's generation: a bar
// over the pictures, the line "共 N 张图片，正在处理第 I 张。" and a Stop
// button. It implements platform/progress_window.h: generateVideo starts a
// run, the video thread moves it before each picture, and one of the
// encoder runners' outcome messages ends it. While a run lasts the window
// is modal over the main window and cannot be closed or escaped: only Stop
// (which the workers answer with WM_ENCODE_STOPPED) or an outcome ends it.
// When the video was made and not stopped, the user is asked whether to
// play it (ui/play_page.h).
//
// User-interface thread only; workers reach it through runOnUiThread.
#pragma once

#include <QDialog>

#include <atomic>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;

class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* owner);

    // One run: shows the window modally until an outcome message arrives,
    // then asks whether to play the video unless *stopFlag is set. A call
    // made while a run is in progress only takes the new arguments.
    void run(const std::string& videoPath, int pictureCount, std::atomic<int>* stopFlag);
    // Before picture index (1-based): the line and the bar.
    void showPicture(int index);
    // WM_ENCODE_DONE, WM_ENCODE_STOPPED or WM_ENCODE_FAILED.
    void receive(unsigned message);

    bool running() const { return running_; }
    QProgressBar* bar() const { return bar_; }
    QPushButton* stopButton() const { return stop_; }
    QLabel* statusLine() const { return status_; }

    void reject() override;  // Escape does nothing

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void onStop();
    void setStatus(int index);

    QProgressBar* bar_;
    QPushButton* stop_;
    QLabel* status_;
    std::string videoPath_;
    int pictureCount_ = 0;
    std::atomic<int>* stopFlag_ = nullptr;
    bool running_ = false;
    bool ending_ = false;
};

// Creates the window over owner (the main window), once, sets
// hwndProgressDialog and installs it as the program's progress window.
// Later calls return the same window.
ProgressWindow* createProgressDialog(QWidget* owner);

// The window, or null before createProgressDialog and after it is gone.
ProgressWindow* progressWindow();
