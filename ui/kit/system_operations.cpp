#include "ui/kit/system_operations.h"

#include <QApplication>
#include <QClipboard>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace {

void sizeOf(const QRect& rect, int* width, int* height) {
    if (width) *width = rect.width();
    if (height) *height = rect.height();
}

} // namespace

int captionHeightDelta() { return QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight) - 22; }

int getWindowHeight(QWidget* window) { return window ? window->frameGeometry().height() : 0; }

void getScreenSize(int* width, int* height) {
    QScreen* screen = QGuiApplication::primaryScreen();
    sizeOf(screen ? screen->geometry() : QRect(), width, height);
}

void getMaximizedSize(int* width, int* height) {
    QScreen* screen = QGuiApplication::primaryScreen();
    sizeOf(screen ? screen->availableGeometry() : QRect(), width, height);
}

int getMenuBarHeight() {
    QMenuBar bar;
    return bar.sizeHint().height();
}

int copyToClipboard(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return 0;
    clipboard->setText(text);
    return 1;
}
