// The Qt side of platform/load_item_commands.h: the start-up query may hide
// the load-item commands and ask the load-item dialog to show its link to
// the browser extension.
#pragma once

// Makes hideLoadItemCommands act on the main window's toolbar and list
// menu, and showBrowserExtensionLink on the load-item dialog.
void installLoadItemCommands();
