// The custom video size dialog "自定义视频尺寸": the user types an even
// output width (256-3840) and height (256-2160); the dialog refuses
// anything else with a notice and stays open until the size is right or
// the user cancels. Opened by the video size combo's last item "自定义...".
//
// User-interface thread only.
#pragma once

#include <QDialog>

class ActivationFocus;
class QLineEdit;
class QPushButton;

// Filled for the caller, who zeroes it first.
struct CustomVideoSizeResult {
    int ok;      // 1 when OK accepted the size; 0 after Cancel; a close leaves it as it was
    int width;   // pixels
    int height;  // pixels
};

// Runs the dialog modally over owner (the main window) and returns when it
// closes; true when result->ok is 1. The window is created on the first
// call and kept hidden between runs; every later run starts with empty
// edits.
bool showCustomVideoSizeDialog(QWidget* owner, CustomVideoSizeResult* result);

// The checks made when OK is pressed, in their order; the first that fails
// names the notice and the edit that gets the focus.
struct CustomVideoSizeVerdict {
    int failedCheck;      // 0 when the size is accepted, else 1 to 6
    const char* message;  // the notice of the failed check, or null
    bool focusHeight;     // the failed check is about the height
    int width, height;    // the numbers read from the texts
};
CustomVideoSizeVerdict checkCustomVideoSize(const char* widthText, const char* heightText);

// The dialog itself; tests drive it directly.
class CustomVideoSizeDialog : public QDialog {
    Q_OBJECT
public:
    explicit CustomVideoSizeDialog(QWidget* owner);

    // Starts a run that reports into result: empty edits, focus in width.
    void beginRun(CustomVideoSizeResult* result);

    QLineEdit* widthEdit() const { return width_; }
    QLineEdit* heightEdit() const { return height_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

    void reject() override;  // Escape: as Cancel

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void onOk();
    void onCancel();

    QLineEdit* width_;
    QLineEdit* height_;
    QPushButton* ok_;
    QPushButton* cancel_;
    ActivationFocus* focus_;
    CustomVideoSizeResult* result_ = nullptr;
};
