#include "ui/kit/tooltips.h"

#include <QApplication>
#include <QCursor>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <mutex>
#include <vector>

namespace {

constexpr std::size_t kMaxTooltips = 7;

std::mutex tooltipLock;
std::vector<TooltipRecord*> tooltips;

QStyle::StandardPixmap iconPixmap(int icon) {
    switch (icon) {
    case TIP_ICON_WARNING: return QStyle::SP_MessageBoxWarning;
    case TIP_ICON_ERROR: return QStyle::SP_MessageBoxCritical;
    default: return QStyle::SP_MessageBoxInformation;
    }
}

// Removes the record from the table; false when it was not there.
bool forget(TooltipRecord* record) {
    std::lock_guard<std::mutex> lock(tooltipLock);
    auto it = std::find(tooltips.begin(), tooltips.end(), record);
    if (it == tooltips.end()) return false;
    tooltips.erase(it);
    return true;
}

void destroy(TooltipRecord* record) {
    if (record->window) record->window->close();
    delete record;
}

} // namespace

bool addToolTip(QWidget* control, const QString& text) {
    if (!control || text.isEmpty()) return false;
    control->setToolTip(text);
    return true;
}

QWidget* createTrackingTooltip(QWidget* anchor, const QString& text, const QString& title,
                               int icon, bool atCursor) {
    if (!anchor) return nullptr;
    auto* tip = new QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint |
                                         Qt::WindowStaysOnTopHint);
    tip->setAttribute(Qt::WA_DeleteOnClose);
    tip->setAttribute(Qt::WA_ShowWithoutActivating);
    tip->setBackgroundRole(QPalette::ToolTipBase);
    tip->setAutoFillBackground(true);
    auto* rows = new QVBoxLayout(tip);
    if (!title.isEmpty()) {
        auto* head = new QHBoxLayout;
        if (icon != TIP_ICON_NONE) {
            auto* mark = new QLabel(tip);
            mark->setPixmap(QApplication::style()->standardIcon(iconPixmap(icon)).pixmap(16, 16));
            head->addWidget(mark);
        }
        auto* heading = new QLabel(title, tip);
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        head->addWidget(heading, 1);
        rows->addLayout(head);
    }
    rows->addWidget(new QLabel(text, tip));
    tip->adjustSize();
    QWidget* window = anchor->window();
    QRect frame = window->frameGeometry();
    int x = atCursor ? QCursor::pos().x() : frame.center().x();
    tip->move(x, frame.bottom());
    return tip;
}

TooltipRecord* showTrackedTooltip(QWidget* anchor, const QString& text, const QString& title,
                                  int icon, bool atCursor) {
    QWidget* tip = createTrackingTooltip(anchor, text, title, icon, atCursor);
    if (!tip) return nullptr;
    if (openTooltipCount() >= static_cast<int>(kMaxTooltips)) closeAllTooltips();
    auto* record = new TooltipRecord{tip};
    {
        std::lock_guard<std::mutex> lock(tooltipLock);
        tooltips.push_back(record);
    }
    tip->show();
    return record;
}

void showTimedTooltip(QWidget* anchor, const QString& text, const QString& title, int icon,
                      bool atCursor, int delay) {
    QWidget* tip = createTrackingTooltip(anchor, text, title, icon, atCursor);
    if (!tip) return;
    tip->show();
    QTimer::singleShot(delay, tip, &QWidget::close);
}

void closeTooltip(TooltipRecord* record) {
    if (!record) return;
    forget(record);
    destroy(record);
}

void closeAllTooltips() {
    std::vector<TooltipRecord*> closing;
    {
        std::lock_guard<std::mutex> lock(tooltipLock);
        closing.swap(tooltips);
    }
    for (TooltipRecord* record : closing) destroy(record);
}

int openTooltipCount() {
    std::lock_guard<std::mutex> lock(tooltipLock);
    return static_cast<int>(tooltips.size());
}
