#include "ui/kit/bitmap_popup.h"

#include <QLabel>
#include <QPixmap>
#include <QTimer>

#include "ui/kit/window_geometry.h"

namespace {

constexpr int kFadeSteps = 9;
constexpr int kFadeStep = 30;
constexpr int kFadeInterval = 50;

void fadeStep(QLabel* popup, int step) {
    if (step > kFadeSteps) {
        popup->close();
        return;
    }
    setWindowAlpha(popup, 255 - step * kFadeStep);
    QTimer::singleShot(kFadeInterval, popup, [popup, step] { fadeStep(popup, step + 1); });
}

} // namespace

QWidget* showBitmapPopup(QWidget* owner, const QPixmap& picture, int delay) {
    if (picture.isNull()) return nullptr;
    auto* popup = new QLabel(owner, Qt::Window | Qt::FramelessWindowHint);
    popup->setAttribute(Qt::WA_DeleteOnClose);
    popup->setPixmap(picture);
    popup->setFixedSize(picture.size());
    popup->show();
    centerWindow(popup);
    QTimer::singleShot(delay, popup, [popup] { fadeStep(popup, 1); });
    return popup;
}
