#include "net/import/import_stop.h"

#include "net/socket_pool.h"

#include <atomic>

namespace {

// Runs nest (a loader hands its addresses to the download loop): only the
// outermost begins and ends the import.
std::atomic<int> depth{0};
std::atomic<bool> stopAsked{false};

} // namespace

void stopItemImport() {
    if (depth.load() > 0) stopAsked = true;
}

bool itemImportRunning() { return depth.load() > 0; }

bool itemImportStopRequested() { return stopAsked.load(); }

ItemImportRun::ItemImportRun() {
    if (depth.fetch_add(1) == 0) stopAsked = false;
}

ItemImportRun::~ItemImportRun() {
    if (depth.fetch_sub(1) != 1) return;
    stopAsked = false;
    // The import's hosts are seldom asked again soon: their idle
    // connections would only hold descriptors.
    socket_pool_close_idle();
}

