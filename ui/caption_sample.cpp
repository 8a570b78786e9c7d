#include "ui/caption_sample.h"

#include <QPainter>

#include "foundation/globals.h"
#include "platform/command_ids.h"
#include "platform/window_controls.h"

namespace {

QColor fromColorRef(COLORREF color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

bool captionsOn() { return isChecked(IDC_CAPTION_CHECK) || isChecked(IDC_CAPTION_CHECK2); }

int colorIndex() {
    int index = comboGetCurSel(IDC_CAPTION_COLOR);
    return index >= 0 && index < 16 ? index : 0;
}

} // namespace

CaptionSample::CaptionSample(QWidget* parent) : QLabel(QString::fromUtf8("文字示例"), parent) {
    setAlignment(Qt::AlignCenter);
}

QColor CaptionSample::textColor() const {
    if (!captionsOn()) return palette().color(QPalette::Disabled, QPalette::WindowText);
    return fromColorRef(captionTextColors[colorIndex()]);
}

QColor CaptionSample::backgroundColor() const {
    if (!captionsOn()) return Qt::white;
    const COLORREF text = captionTextColors[colorIndex()];
    const COLORREF box = captionBoxColors[colorIndex()];
    if (box != text) return fromColorRef(box);
    const QColor face = palette().color(QPalette::Window);
    const bool lightFace = face == QColor(255, 255, 255) || face == QColor(240, 240, 240);
    if (text == rgbColor(255, 255, 255) && lightFace) return QColor(128, 128, 128);
    return face;
}

void CaptionSample::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), backgroundColor());
    painter.setPen(textColor());
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter, text());
}
