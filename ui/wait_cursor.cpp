#include "ui/wait_cursor.h"

#include <QApplication>
#include <QCursor>

#include "platform/wait_cursor.h"

namespace {

bool waitShown = false;

// Shown once however often it is asked for, so one arrow ends it.
void showWaitCursor(int waiting) {
    if (waiting && !waitShown) QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!waiting && waitShown) QApplication::restoreOverrideCursor();
    waitShown = waiting != 0;
}

void repaintNow() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

} // namespace

void installWaitCursor() {
    setWaitCursorHandler(showWaitCursor);
    setBusyRepaintHandler(repaintNow);
}
