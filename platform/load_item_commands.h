// The load-item commands of the main window and the load-item dialog, as
// far as the service settings change them. The user interface installs a
// handler; until then (and in tests that install none) nothing happens.
// Call on the user-interface thread.
#pragma once

struct LoadItemCommandsHandler {
    // Hides the toolbar button IDM_LOAD_ITEM_PICTURES and removes
    // IDM_CTX_LOAD_ITEM_PICTURES from the list's context menu.
    void (*hideLoadItemCommands)();
    // Shows the load-item dialog's link to get picture addresses with a
    // browser extension.
    void (*showBrowserExtensionLink)();
    // Called while an item import runs, between pictures and while a
    // download waits: lets the windows repaint and takes the Escape key,
    // which asks the import to stop; no other input reaches the main
    // window, while a box or dialog opened meanwhile answers as usual.
    void (*whileImporting)();
};

void hideLoadItemCommands();
void showBrowserExtensionLink();
// Without a handler for it, only repaints (repaintWhileBusy).
void whileImporting();

// Installs the handler (null: nothing happens) and returns the previous one.
const LoadItemCommandsHandler* setLoadItemCommandsHandler(const LoadItemCommandsHandler* handler);
