#include "ui/main_window.h"

#include "ui/info_window.h"
#include "ui/progress_window.h"
#include "ui/status_bar.h"

// The window's controls are not built yet: an empty client area with the
// status bar below it, and the hidden windows it owns.
void createMainWindowContents(MainWindow* window) {
    window->setFixedSize(kMainClientWidth, kMainClientHeight);
    createStatusBar(window);
    createInfoWindow(window);
    createProgressDialog(window);
}
