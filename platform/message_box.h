// Message boxes, the one way lower layers ask or tell the user something.
// The user interface installs a handler at start-up; until then (and in
// tests that install none) boxes are written to standard error and answer
// with their first button.
#pragma once

#include <string>

enum : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_BUTTON_MASK = 0xF,
};

enum : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDYES = 6,
    IDNO = 7,
};

// owner is an opaque window handle (null: no owner, as the start-up boxes).
using MessageBoxHandler = int (*)(void* owner, const std::string& text,
                                  const std::string& caption, unsigned type);

// Shows a box and returns the id of the button that closed it.
int messageBox(void* owner, const std::string& text, const std::string& caption,
               unsigned type);

// Installs the handler (null restores the standard-error fallback) and
// returns the previous one.
MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);
