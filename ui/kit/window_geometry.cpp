#include "ui/kit/window_geometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "ui/app_icon.h"

void getNonClientSize(QWidget* window, int out[2]) {
    QRect frame = window->frameGeometry();
    QRect client = window->geometry();
    out[0] = frame.width() - client.width();
    out[1] = frame.height() - client.height();
}

void setClientSize(QWidget* window, int width, int height, QWidget* extra) {
    if (!window) return;
    if (extra) height += extra->height();
    if (window->minimumSize() == window->maximumSize()) window->setFixedSize(width, height);
    else window->resize(width, height);
}

void centerWindow(QWidget* window) {
    if (!window) return;
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect whole = screen->geometry();
    QRect available = screen->availableGeometry();
    int frame[2];
    getNonClientSize(window, frame);
    int x = whole.x() + (whole.width() - window->width()) / 2 - frame[0] / 2;
    int y = available.y() + (available.height() - window->height()) / 2 - frame[1] / 2;
    window->move(x, y);
    window->raise();
}

void setWindowAlpha(QWidget* window, int alpha) {
    if (window) window->setWindowOpacity(std::clamp(alpha, 0, 255) / 255.0);
}

void setWindowIcon(QWidget* window) {
    if (window) window->setWindowIcon(appIcon());
}
