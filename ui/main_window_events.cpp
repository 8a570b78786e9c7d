#include "ui/main_window.h"

// No event of the main window has handling of its own yet.
bool handleMainWindowEvent(MainWindow*, QEvent*) { return false; }
