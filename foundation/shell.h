// Handing files, folders and addresses to the desktop. Everything goes to
// xdg-open as one argument of an argument vector, never through a shell.
#pragma once

// Opens a file, folder or address with the user's preferred program.
// Returns 1 when the opener started, 0 when the target is empty, begins
// with "-" or holds control characters, or the opener cannot start.
int shellOpen(const char* target);
