// Stopping a running item import. The import runs on the user-interface
// thread and lets the windows repaint while it waits for the network, so a
// close request, a termination signal or the Escape key can arrive in the
// middle of it: they ask it to stop here instead of pulling its folder or
// its picture list away under it. The import checks while the picture
// list is requested, before each picture address and while a download
// waits (a request in progress ends within a tenth of a second); the
// stopped download leaves no file and no failure in the information
// window, the stopped list request no box.
#pragma once

// Asks the running import to stop; nothing when none runs. Safe from any
// thread and from a signal handler.
void stopItemImport();

// Whether an item import is running: from the picture-list request to the
// end of the download loop.
bool itemImportRunning();

// For the import loop: whether stopItemImport was called since the running
// import began.
bool itemImportStopRequested();

// For the loaders and the download loop: marks the import as running while
// it lives, with no stop asked for at its start; when it ends, the idle
// connections of the pools are closed. Runs nest: one inside another
// belongs to the outer import.
class ItemImportRun {
public:
    ItemImportRun();
    ~ItemImportRun();
    ItemImportRun(const ItemImportRun&) = delete;
    ItemImportRun& operator=(const ItemImportRun&) = delete;
};
