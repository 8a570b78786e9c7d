// Calls queued to the user-interface thread once the event loop has ended.
#include "ui/ui_thread_runner.h"

#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>

#include "platform/ui_thread.h"

namespace {

TEST(UiThreadRunner, ACallMadeAfterTheEventLoopHasEndedReturnsAndRunsNothing) {
    UiThreadRunner previous = setUiThreadRunner(nullptr);
    installUiThreadRunner();
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QApplication::exec();

    std::atomic<int> ran{0};
    auto worker = std::async(std::launch::async, [&] { runOnUiThread([&] { ++ran; }); });
    // Only a guard: a worker left waiting for the ended loop never returns.
    const bool returned = worker.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
    QCoreApplication::processEvents();  // lets a waiting worker go
    worker.wait();
    runOnUiThread([&] { ++ran; });
    EXPECT_TRUE(returned);
    EXPECT_EQ(ran, 0);

    installUiThreadRunner();
    setUiThreadRunner(previous);
}

} // namespace
