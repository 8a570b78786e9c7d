#include "ui/caption_sample_colors.h"

#include <QEvent>
#include <QPalette>
#include <QWidget>

#include "foundation/globals.h"
#include "platform/command_ids.h"
#include "platform/window_controls.h"

namespace {

QColor fromColorRef(COLORREF color) { return QColor(color & 0xFF, color >> 8 & 0xFF, color >> 16 & 0xFF); }

class SampleColoring : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        auto* sample = static_cast<QWidget*>(watched);
        bool checked = isChecked(IDC_CAPTION_CHECK) || isChecked(IDC_CAPTION_CHECK2);
        QColor window = sample->parentWidget() ? sample->parentWidget()->palette().color(QPalette::Window)
                                               : sample->palette().color(QPalette::Window);
        SampleColors colors = captionSampleColors(comboGetCurSel(IDC_CAPTION_COLOR), checked, window);
        QPalette palette = sample->palette();
        if (palette.color(QPalette::WindowText) != colors.text ||
            palette.color(QPalette::Window) != colors.background) {
            palette.setColor(QPalette::WindowText, colors.text);
            palette.setColor(QPalette::Window, colors.background);
            sample->setPalette(palette);
        }
        return false;
    }
};

} // namespace

SampleColors captionSampleColors(int index, bool captionChecked, const QColor& window) {
    if (!captionChecked || index < 0 || index >= 16) return {Qt::black, Qt::white};
    QColor text = fromColorRef(captionTextColors[index]);
    QColor box = fromColorRef(captionBoxColors[index]);
    if (box != text) return {text, box};
    bool lightWindow = window == QColor(255, 255, 255) || window == QColor(240, 240, 240);
    // The stock grey brush, RGB 128, 128, 128 (Qt::gray is 160, 160, 164).
    if (text == QColor(255, 255, 255) && lightWindow) return {text, QColor(128, 128, 128)};
    return {text, window};
}

void keepCaptionSampleColored(QWidget* sample) {
    if (!sample) return;
    sample->setAutoFillBackground(true);
    sample->installEventFilter(new SampleColoring(sample));
}
