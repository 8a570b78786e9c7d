#include "ui/main_window.h"

// The window's controls are not built yet: an empty client area.
void createMainWindowContents(MainWindow* window) {
    window->setFixedSize(kMainClientWidth, kMainClientHeight);
}
