// Handing files, folders and addresses to the desktop, and the desktop
// shortcut. Everything is started through xdg-open with an argument vector,
// never through a shell.
#pragma once

#include <functional>

// Opens a file, folder or address with the user's preferred program.
// Returns 1 when the opener started, 0 when the target is empty, begins
// with "-" or holds control characters, or the opener cannot start.
int shellOpen(const char* target);

// shellOpen for a file the user waits to see: xdg-open ends with a failure
// when no program takes the file, and noProgram() is then called from a
// thread of its own (within a few seconds of the start).
int shellOpenChecked(const char* target, std::function<void()> noProgram);

// Opens an address (or a local page) in the user's web browser. A pair of
// double quotes around the whole address is removed: the address travels as
// one argument and needs no quoting. Returns 1 when the browser was asked,
// else 0.
int openUrlInBrowser(const char* address);

// Results of createShortcut, in the HRESULT convention: negative is failure.
enum : int {
    SHORTCUT_OK = 0,
    SHORTCUT_INVALID_ARGUMENT = static_cast<int>(0x80070057u),
    SHORTCUT_WRITE_FAILED = static_cast<int>(0x80004005u),
};

// Writes a freedesktop launcher (a ".desktop" file) at shortcutPath that
// starts targetPath with arguments (split at blanks; double quotes group).
// Its name is the shortcut file's name without its extension; an empty
// description, working folder or icon file is left out; the show command
// and icon index have no meaning here. Refuses (SHORTCUT_INVALID_ARGUMENT)
// an empty target or shortcut path, a null text, a negative show command
// or icon index, and line breaks in any text.
int createShortcut(const char* targetPath, const char* arguments, const char* shortcutPath,
                   const char* description, int showCommand, const char* workingFolder,
                   const char* iconFile, int iconIndex);
