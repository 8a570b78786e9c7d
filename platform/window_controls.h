// The states of the main window's controls that lower layers read or set:
// combo selections and items, check boxes, edit texts and the keyboard
// focus, each control named by its id (command_ids.h).
//
// The user interface installs a handler at start-up and answers from its
// widgets, on the user-interface thread (workers reach it through
// runOnUiThread). Until then, and in tests, an in-memory table answers:
// every control starts empty, unchecked, unselected, enabled and visible,
// and tests set it up through the same calls.
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
    // Entries below may be left null by a handler; their calls then fall
    // back to answering as the in-memory table would for an untouched
    // control (enabled, visible, no focus).
    int (*isEnabled)(int id) = nullptr;
    void (*setEnabled)(int id, int enabled) = nullptr;
    int (*isVisible)(int id) = nullptr;
    void (*setVisible)(int id, int visible) = nullptr;
    int (*focusedControl)() = nullptr;                       // id of the control with the keyboard focus, 0 when none
    // Inserts text before item index (at the end when index is the count),
    // keeping the selection on the item it was on; the new item's index.
    // May be null: the insertion is then made of the calls above.
    int (*comboInsertString)(int id, int index, const std::string& text) = nullptr;
};

int comboGetCurSel(int id);
void comboSetCurSel(int id, int index);
int comboGetCount(int id);
std::string comboGetItemText(int id, int index);
int comboAddString(int id, const std::string& text);
void comboDeleteString(int id, int index);
int comboInsertString(int id, int index, const std::string& text);
// Replaces the text of item index, keeping the selection where it was.
void comboReplaceString(int id, int index, const std::string& text);
int isChecked(int id);
void setChecked(int id, int checked);
std::string getControlText(int id);
void setControlText(int id, const std::string& text);
void setControlFocus(int id);
int isControlEnabled(int id);
void enableControl(int id, int enabled);
int isControlVisible(int id);
void showControl(int id, int visible);
int focusedControl();
// Selects the first item whose text equals text ignoring ASCII case and
// returns its index; -1 (selection unchanged) when no item matches.
int comboSelectString(int id, const std::string& text);

// The in-memory table's record of the last focus change (0 when none), so
// tests see where a refusal moved the focus.
int lastFocusedControl();
// Empties the in-memory table.
void resetWindowControls();

// Installs the handler (null restores the in-memory table) and returns the
// previous one.
const WindowControlsHandler* setWindowControlsHandler(const WindowControlsHandler* handler);
