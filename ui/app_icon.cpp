#include "ui/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// A film frame with a play mark: drawn, so the icon needs no file.
QPixmap drawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    qreal s = size;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(230, 60, 40));
    painter.drawRoundedRect(QRectF(s * 0.06, s * 0.14, s * 0.88, s * 0.72), s * 0.12, s * 0.12);
    QPainterPath play;
    play.moveTo(s * 0.40, s * 0.32);
    play.lineTo(s * 0.70, s * 0.50);
    play.lineTo(s * 0.40, s * 0.68);
    play.closeSubpath();
    painter.setBrush(Qt::white);
    painter.drawPath(play);
    return pixmap;
}

} // namespace

const QIcon& appIcon() {
    static const QIcon icon = [] {
        QIcon built;
        for (int size : {16, 24, 32, 48, 64, 128, 256}) built.addPixmap(drawIcon(size));
        return built;
    }();
    return icon;
}
