#include "ui/ui_thread_runner.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include "platform/ui_thread.h"

namespace {

void runQueued(const std::function<void()>& call) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        call();
        return;
    }
    QMetaObject::invokeMethod(app, [&call] { call(); }, Qt::BlockingQueuedConnection);
}

} // namespace

void installUiThreadRunner() { setUiThreadRunner(runQueued); }
