#include "ui/ui_thread_runner.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QThread>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <utility>

#include "platform/thread_sanitizer.h"
#include "platform/ui_thread.h"

namespace {

enum class CallState { Queued, Running, Done, Dropped };

// Never destroyed: a worker may still call in while the program's static
// objects are being destroyed.
struct Runner {
    std::mutex lock;
    std::condition_variable changed;
    bool closed = false;
};

Runner& runner() {
    static Runner* state = new Runner;
    return *state;
}

// Runs the call on the user-interface thread unless its caller has given
// up on it; the caller's call object lives until the state leaves Queued.
void runIfStillWanted(const std::shared_ptr<CallState>& state, const std::function<void()>& call) {
    Runner& shared = runner();
    {
        std::lock_guard<std::mutex> hold(shared.lock);
        if (*state != CallState::Queued) return;
        *state = CallState::Running;
    }
    call();
    {
        std::lock_guard<std::mutex> hold(shared.lock);
        *state = CallState::Done;
    }
    shared.changed.notify_all();
}

// The queued call's share of its state. Whether Qt runs the call or drops
// it unrun at shutdown, the share is released after the caller's hand-over,
// an order Qt's queue keeps out of ThreadSanitizer's view.
struct QueuedShare {
    std::shared_ptr<CallState> state;
    explicit QueuedShare(std::shared_ptr<CallState> given) : state(std::move(given)) {}
    QueuedShare(const QueuedShare&) = default;
    QueuedShare& operator=(const QueuedShare&) = delete;
    ~QueuedShare() {
        if (state) tsanAcquire(state.get());
    }
};

void runQueued(const std::function<void()>& call) {
    Runner& shared = runner();
    std::unique_lock<std::mutex> hold(shared.lock);
    QCoreApplication* app = QCoreApplication::instance();
    if (shared.closed || !app) return;
    if (QThread::currentThread() == app->thread()) {
        hold.unlock();
        call();
        return;
    }
    auto state = std::make_shared<CallState>(CallState::Queued);
    // Qt's queue orders the call after this point invisibly to
    // ThreadSanitizer: the event Qt makes and frees is left out of its
    // view, and the order is stated on the call's state.
    tsanRelease(state.get());
    {
        TsanIgnoredScope handedOverByQt;
        QMetaObject::invokeMethod(
            app,
            [share = QueuedShare(state), &call] {
                tsanAcquire(share.state.get());
                runIfStillWanted(share.state, call);
            },
            Qt::QueuedConnection);
    }
    // A call the user-interface thread has begun is waited for to its end.
    shared.changed.wait(hold, [&] {
        return *state == CallState::Done || (*state == CallState::Queued && shared.closed);
    });
    if (*state == CallState::Queued) *state = CallState::Dropped;
}

} // namespace

void installUiThreadRunner() {
    {
        std::lock_guard<std::mutex> hold(runner().lock);
        runner().closed = false;
    }
    static QPointer<QCoreApplication> watched;
    QCoreApplication* app = QCoreApplication::instance();
    if (app && watched != app) {
        QObject::connect(app, &QCoreApplication::aboutToQuit, app, closeUiThreadRunner);
        watched = app;
    }
    setUiThreadRunner(runQueued);
}

void closeUiThreadRunner() {
    {
        std::lock_guard<std::mutex> hold(runner().lock);
        runner().closed = true;
    }
    runner().changed.notify_all();
}
