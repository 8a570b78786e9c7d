// The caption margins dialog "【加文字】边距设置": the five margins of the
// caption positions (the centre-bottom position's bottom margin, and the
// left, right, top and bottom margins of the corner positions), shown and
// typed as percentages of the video's width or height. Accepted values
// apply at once (captionMargins) and are stored in the preferences.
//
// User-interface thread only.
#pragma once

#include <QDialog>

#include <array>
#include <string>

class ActivationFocus;
class QLineEdit;
class QPushButton;
struct CaptionMargins;

// Runs the dialog modally over owner (the main window). The window is
// created on the first call and kept hidden between runs; each run shows
// the margins in use.
void showCaptionMarginDialog(QWidget* owner);

// The fields in the dialog's order.
enum CaptionMarginField { kMarginCenterBottom, kMarginLeft, kMarginRight, kMarginTop, kMarginBottom };
constexpr int kCaptionMarginFields = 5;

// A field of a margins record.
float& captionMarginOf(CaptionMargins& margins, int field);

// The checks made when OK is pressed: every field must be a number (in
// field order), then every number must lie strictly between 0 and 50 (in
// field order). The first failure names its field and notice.
struct CaptionMarginVerdict {
    int failedField;      // -1 when all are accepted
    const char* message;  // the notice of the failure, or null
    std::array<float, kCaptionMarginFields> fractions;  // v / 100 + 0.000001, when accepted
};
CaptionMarginVerdict checkCaptionMargins(const std::array<std::string, kCaptionMarginFields>& texts);

// Puts the accepted fractions into captionMargins and writes each to the
// preferences as the fraction times 10000, truncated. Write failures are
// not reported: the margins still apply for this run of the program.
void storeCaptionMargins(const std::array<float, kCaptionMarginFields>& fractions);

// The dialog itself; tests drive it directly.
class CaptionMarginsDialog : public QDialog {
    Q_OBJECT
public:
    explicit CaptionMarginsDialog(QWidget* owner);

    // Writes the margins into the edits as percentages with two decimals.
    void fillEdits(const CaptionMargins& margins);

    QLineEdit* edit(int field) const { return edits_[field]; }
    QPushButton* defaultsButton() const { return defaults_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void onOk();

    std::array<QLineEdit*, kCaptionMarginFields> edits_{};
    QPushButton* defaults_;
    QPushButton* ok_;
    QPushButton* cancel_;
    ActivationFocus* focus_;
};
