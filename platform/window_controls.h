// The states of the main window's controls that lower layers read or set:
// combo selections and items, check boxes, edit texts and the keyboard
// focus, each control named by its id (command_ids.h).
//
// The user interface installs a handler at start-up and answers from its
// widgets, on the user-interface thread (workers reach it through
// runOnUiThread). Until then, and in tests, an in-memory table answers:
// every control starts empty, unchecked and unselected, and tests set it up
// through the same calls.
#pragma once

#include <string>

struct WindowControlsHandler {
    int (*comboGetCurSel)(int id);                 // -1 when nothing is selected
    void (*comboSetCurSel)(int id, int index);     // -1 clears the selection
    int (*comboGetCount)(int id);
    std::string (*comboGetItemText)(int id, int index);  // empty outside the items
    int (*comboAddString)(int id, const std::string& text);  // the new item's index
    void (*comboDeleteString)(int id, int index);
    int (*isChecked)(int id);                      // check boxes and toolbar check buttons
    void (*setChecked)(int id, int checked);
    std::string (*getText)(int id);                // edit text
    void (*setText)(int id, const std::string& text);
    void (*setFocus)(int id);
};

int comboGetCurSel(int id);
void comboSetCurSel(int id, int index);
int comboGetCount(int id);
std::string comboGetItemText(int id, int index);
int comboAddString(int id, const std::string& text);
void comboDeleteString(int id, int index);
int isChecked(int id);
void setChecked(int id, int checked);
std::string getControlText(int id);
void setControlText(int id, const std::string& text);
void setControlFocus(int id);

// The in-memory table's record of the last focus change (0 when none), so
// tests see where a refusal moved the focus.
int lastFocusedControl();
// Empties the in-memory table.
void resetWindowControls();

// Installs the handler (null restores the in-memory table) and returns the
// previous one.
const WindowControlsHandler* setWindowControlsHandler(const WindowControlsHandler* handler);
