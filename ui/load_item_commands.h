// The Qt side of platform/load_item_commands.h: the start-up query may hide
// the load-item commands and ask the load-item dialog to show its link to
// the browser extension; a running item import repaints the windows and
// stops on the Escape key.
#pragma once

// Makes hideLoadItemCommands act on the main window's toolbar and list
// menu, showBrowserExtensionLink on the load-item dialog, and
// whileImporting repaint the windows, stopping the import on Escape.
void installLoadItemCommands();
