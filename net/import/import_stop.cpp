#include "net/import/import_stop.h"

#include <atomic>

namespace {

std::atomic<bool> running{false};
std::atomic<bool> stopAsked{false};

} // namespace

void stopItemImport() {
    if (running.load()) stopAsked = true;
}

bool itemImportRunning() { return running.load(); }

bool itemImportStopRequested() { return stopAsked.load(); }

ItemImportRun::ItemImportRun() {
    stopAsked = false;
    running = true;
}

ItemImportRun::~ItemImportRun() {
    running = false;
    stopAsked = false;
}

