// The main window's status bar: four parts (0 picture count, 1 selection,
// 2 music length, 3 video length), each a line of text.
//
// The user interface installs a handler at start-up, called on the
// user-interface thread. Until then, and in tests, the texts are kept in
// memory, where statusText reads them back.
#pragma once

#include <string>

constexpr int kStatusParts = 4;

using StatusBarHandler = void (*)(int part, const std::string& text);

// Sets the text of a part (parts outside 0 to 3 are ignored).
void setStatusText(int part, const std::string& text);
// The last text set for a part while no handler was installed.
std::string statusText(int part);

// Installs the handler (null restores the in-memory texts) and returns the
// previous one.
StatusBarHandler setStatusBarHandler(StatusBarHandler handler);
