#include "ui/group_box.h"

#include <QPainter>
#include <QStyle>
#include <qdrawutil.h>

namespace {
constexpr int kTitleLeft = 7;
constexpr int kTitlePadding = 2;
} // namespace

GroupBox::GroupBox(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

int GroupBox::frameTop() const { return fontMetrics().height() / 2; }

QRect GroupBox::titleRect() const {
    if (title().isEmpty()) return {};
    const int width = fontMetrics().horizontalAdvance(title()) + 2 * kTitlePadding;
    return QRect(kTitleLeft, 0, width, fontMetrics().height());
}

// An etched rectangle, whatever the style (a style's own group frame may sit
// lower to make room for a title of its own placing).
void GroupBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect title = titleRect();
    if (!title.isEmpty()) painter.setClipRegion(QRegion(rect()).subtracted(title));
    qDrawShadeRect(&painter, rect().adjusted(0, frameTop(), 0, 0), palette(), true, 1, 0);
    if (title.isEmpty()) return;
    painter.setClipping(false);
    style()->drawItemText(&painter, title, Qt::AlignCenter, palette(), isEnabled(), this->title(),
                          QPalette::WindowText);
}
