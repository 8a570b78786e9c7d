// The Qt side of platform/load_item_commands.h: the start-up query may hide
// the load-item commands and ask the load-item dialog to show its link to
// the browser extension; a running item import repaints the windows, holds
// back the main window's input and stops on the Escape key.
#pragma once

// Makes hideLoadItemCommands act on the main window's toolbar and list
// menu, showBrowserExtensionLink on the load-item dialog, and
// whileImporting repaint the windows and let boxes and dialogs answer,
// while the main window takes no input but Escape, which stops the import.
void installLoadItemCommands();
