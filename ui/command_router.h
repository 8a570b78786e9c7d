// The main window's command table: every toolbar button, menu item,
// accelerator and control of the main window carries its command id
// (platform/command_ids.h), and each id has exactly one handler here. A
// handler receives the notification code (BN_CLICKED, CBN_SELCHANGE, ...;
// platform/main_command.h), so one handler serves a user's change and the
// same change made by code (sendMainCommand).
//
// User-interface thread only.
#pragma once

#include <QList>
#include <functional>

class QAbstractButton;
class QAction;
class QComboBox;
class QLineEdit;
class QObject;

enum : int {
    EN_CHANGE = 0x300,  // an edit's text changed
};

using CommandHandler = std::function<void(int id, int code)>;

// Gives ids first to last (inclusive) their handler. False, and nothing
// changes, when any of them already has one: an id reaches exactly one
// handler.
bool setCommandHandler(int first, int last, CommandHandler handler);
inline bool setCommandHandler(int id, CommandHandler handler) {
    return setCommandHandler(id, id, std::move(handler));
}
bool hasCommandHandler(int id);

// Runs the handler of id; false when id has none (the command is ignored).
bool dispatchCommand(int id, int code);

// Removes every handler (tests that build a main window more than once).
void clearCommandHandlers();

// Makes sendMainCommand reach dispatchCommand.
void installCommandRouter();

// Widgets send their command when the user acts on them: a button or a
// check box when clicked (BN_CLICKED), a combo box when the user picks an
// item (CBN_SELCHANGE) and when its list closes (CBN_CLOSEUP), an edit
// whenever its text changes (EN_CHANGE, also for text set by code), an
// action when triggered (code 0).
void bindCommand(QAbstractButton* button, int id);
void bindCommand(QComboBox* combo, int id);
void bindCommand(QLineEdit* edit, int id);
void bindCommand(QAction* action, int id);

// An action bound to a command carries its id in this property, so code can
// find the actions of a command (commandActions).
constexpr char kCommandIdProperty[] = "commandId";

// The actions bound to command id among root's descendants.
QList<QAction*> commandActions(QObject* root, int id);
