// The information window ("信息 - F2"): a growing log of notices too long
// or too many for message boxes (refused pictures, failed downloads). Each
// append adds the text and a blank line and shows the window.
//
// The user interface installs a handler at start-up, called on the
// user-interface thread (workers go through runOnUiThread). Until then,
// and in tests, the log is kept in memory, where infoLogText reads it back.
#pragma once

#include <string>

using InfoWindowHandler = void (*)(const std::string& text);

// Appends text and "\r\n\r\n" to the log and shows the window.
void appendInfoText(const std::string& text);

// The in-memory log (what was appended while no handler was installed).
std::string infoLogText();
// Empties the in-memory log.
void clearInfoLog();

// Installs the handler (null restores the in-memory log) and returns the
// previous one.
InfoWindowHandler setInfoWindowHandler(InfoWindowHandler handler);
