// Commands sent to the main window from code: after code changes a combo
// box or a check box, it sends that control's own notification, so the one
// handler that serves the user's change serves the code's too.
//
// The user interface installs a handler at start-up (its command router),
// called on the user-interface thread. Until then, and in tests that
// install none, commands are dropped.
#pragma once

// Notification codes carried with a command.
enum : int {
    BN_CLICKED = 0,
    CBN_SELCHANGE = 1,   // also the code of an accelerator
    CBN_CLOSEUP = 8,
};

using MainCommandHandler = void (*)(int id, int code);

// Runs the main window's handler of command id with the notification code.
void sendMainCommand(int id, int code);

// Installs the handler (null restores dropping) and returns the previous one.
MainCommandHandler setMainCommandHandler(MainCommandHandler handler);
