#include "app/termination_signals.h"

#include <QApplication>
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include "ui/main_window.h"

namespace {

// The handler may only write to the pipe; the event loop does the rest.
int signalPipe[2] = {-1, -1};

void onSignal(int) {
    char byte = 1;
    [[maybe_unused]] ssize_t written = write(signalPipe[1], &byte, 1);
}

void closeProgram() {
    char bytes[16];
    [[maybe_unused]] ssize_t drained = read(signalPipe[0], bytes, sizeof bytes);
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    if (MainWindow* window = mainWindow()) window->close();
    else QApplication::quit();
}

} // namespace

void endOnTerminationSignals() {
    if (signalPipe[0] >= 0) return;
    if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, closeProgram);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}
