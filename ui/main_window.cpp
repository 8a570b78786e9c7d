#include "ui/main_window.h"

#include "foundation/globals.h"

MainWindow::MainWindow() {
    hwndMain = this;
    createMainWindowContents(this);
}

MainWindow::~MainWindow() {
    if (hwndMain == this) hwndMain = nullptr;
}

bool MainWindow::event(QEvent* event) {
    if (handleMainWindowEvent(this, event)) return true;
    return QWidget::event(event);
}

MainWindow* mainWindow() { return static_cast<MainWindow*>(hwndMain); }
