#include "platform/window_controls.h"

#include <atomic>
#include <map>
#include <mutex>
#include <vector>

namespace {

struct Control {
    std::vector<std::string> items;
    int selection = -1;
    int checked = 0;
    std::string text;
    int enabled = 1;
    int visible = 1;
};

// The stand-in for the widgets: workers may read it while a test thread
// sets it up, so it has its own lock.
std::mutex tableLock;
std::map<int, Control> table;
int focused = 0;

bool validIndex(const Control& control, int index) {
    return index >= 0 && index < static_cast<int>(control.items.size());
}

int tableGetCurSel(int id) {
    std::lock_guard<std::mutex> lock(tableLock);
    return table[id].selection;
}
void tableSetCurSel(int id, int index) {
    std::lock_guard<std::mutex> lock(tableLock);
    Control& control = table[id];
    control.selection = validIndex(control, index) ? index : -1;
}
int tableGetCount(int id) {
    std::lock_guard<std::mutex> lock(tableLock);
    return static_cast<int>(table[id].items.size());
}
std::string tableGetItemText(int id, int index) {
    std::lock_guard<std::mutex> lock(tableLock);
    const Control& control = table[id];
    return validIndex(control, index) ? control.items[index] : std::string();
}
int tableAddString(int id, const std::string& text) {
    std::lock_guard<std::mutex> lock(tableLock);
    Control& control = table[id];
    control.items.push_back(text);
    return static_cast<int>(control.items.size()) - 1;
}
void tableDeleteString(int id, int index) {
    std::lock_guard<std::mutex> lock(tableLock);
    Control& control = table[id];
    if (!validIndex(control, index)) return;
    control.items.erase(control.items.begin() + index);
    // As a drop-down list does: deleting the selected item clears the
    // selection, deleting one above it moves it up.
    if (control.selection == index) control.selection = -1;
    else if (control.selection > index) --control.selection;
}
int tableInsertString(int id, int index, const std::string& text) {
    std::lock_guard<std::mutex> lock(tableLock);
    Control& control = table[id];
    const int count = static_cast<int>(control.items.size());
    if (index < 0 || index > count) index = count;
    control.items.insert(control.items.begin() + index, text);
    if (control.selection >= index) ++control.selection;
    return index;
}
int tableIsChecked(int id) {
    std::lock_guard<std::mutex> lock(tableLock);
    return table[id].checked;
}
void tableSetChecked(int id, int checked) {
    std::lock_guard<std::mutex> lock(tableLock);
    table[id].checked = checked ? 1 : 0;
}
std::string tableGetText(int id) {
    std::lock_guard<std::mutex> lock(tableLock);
    return table[id].text;
}
void tableSetText(int id, const std::string& text) {
    std::lock_guard<std::mutex> lock(tableLock);
    table[id].text = text;
}
void tableSetFocus(int id) {
    std::lock_guard<std::mutex> lock(tableLock);
    focused = id;
}

int tableIsEnabled(int id) {
    std::lock_guard<std::mutex> lock(tableLock);
    return table[id].enabled;
}
void tableSetEnabled(int id, int enabled) {
    std::lock_guard<std::mutex> lock(tableLock);
    table[id].enabled = enabled ? 1 : 0;
}
int tableIsVisible(int id) {
    std::lock_guard<std::mutex> lock(tableLock);
    return table[id].visible;
}
void tableSetVisible(int id, int visible) {
    std::lock_guard<std::mutex> lock(tableLock);
    table[id].visible = visible ? 1 : 0;
}
int tableFocusedControl() {
    std::lock_guard<std::mutex> lock(tableLock);
    return focused;
}

const WindowControlsHandler memoryTable = {
    tableGetCurSel, tableSetCurSel,  tableGetCount,  tableGetItemText, tableAddString,
    tableDeleteString, tableIsChecked, tableSetChecked, tableGetText,  tableSetText,
    tableSetFocus,  tableIsEnabled,  tableSetEnabled, tableIsVisible,  tableSetVisible,
    tableFocusedControl, tableInsertString,
};

std::atomic<const WindowControlsHandler*> currentHandler{nullptr};

const WindowControlsHandler& controls() {
    const WindowControlsHandler* handler = currentHandler.load();
    return handler ? *handler : memoryTable;
}

} // namespace

int comboGetCurSel(int id) { return controls().comboGetCurSel(id); }
void comboSetCurSel(int id, int index) { controls().comboSetCurSel(id, index); }
int comboGetCount(int id) { return controls().comboGetCount(id); }
std::string comboGetItemText(int id, int index) { return controls().comboGetItemText(id, index); }
int comboAddString(int id, const std::string& text) { return controls().comboAddString(id, text); }
void comboDeleteString(int id, int index) { controls().comboDeleteString(id, index); }

int comboInsertString(int id, int index, const std::string& text) {
    const WindowControlsHandler& handler = controls();
    if (handler.comboInsertString) return handler.comboInsertString(id, index, text);
    // Without an insertion of its own: the items from index on are taken
    // off and added again after the new one.
    const int count = handler.comboGetCount(id);
    if (index < 0 || index > count) index = count;
    const int selection = handler.comboGetCurSel(id);
    std::vector<std::string> moved;
    for (int i = index; i < count; ++i) moved.push_back(handler.comboGetItemText(id, i));
    for (int i = count - 1; i >= index; --i) handler.comboDeleteString(id, i);
    handler.comboAddString(id, text);
    for (const std::string& item : moved) handler.comboAddString(id, item);
    if (selection >= index) handler.comboSetCurSel(id, selection + 1);
    return index;
}

void comboReplaceString(int id, int index, const std::string& text) {
    if (index < 0 || index >= comboGetCount(id)) return;
    const bool selected = comboGetCurSel(id) == index;
    comboInsertString(id, index, text);
    comboDeleteString(id, index + 1);
    if (selected) comboSetCurSel(id, index);
}

int isChecked(int id) { return controls().isChecked(id); }
void setChecked(int id, int checked) { controls().setChecked(id, checked); }
std::string getControlText(int id) { return controls().getText(id); }
void setControlText(int id, const std::string& text) { controls().setText(id, text); }
void setControlFocus(int id) { controls().setFocus(id); }
int isControlEnabled(int id) {
    const WindowControlsHandler& handler = controls();
    return handler.isEnabled ? handler.isEnabled(id) : 1;
}
void enableControl(int id, int enabled) {
    const WindowControlsHandler& handler = controls();
    if (handler.setEnabled) handler.setEnabled(id, enabled);
}
int isControlVisible(int id) {
    const WindowControlsHandler& handler = controls();
    return handler.isVisible ? handler.isVisible(id) : 1;
}
void showControl(int id, int visible) {
    const WindowControlsHandler& handler = controls();
    if (handler.setVisible) handler.setVisible(id, visible);
}
int focusedControl() {
    const WindowControlsHandler& handler = controls();
    return handler.focusedControl ? handler.focusedControl() : 0;
}

int comboSelectString(int id, const std::string& text) {
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    int count = comboGetCount(id);
    for (int i = 0; i < count; ++i) {
        std::string item = comboGetItemText(id, i);
        if (item.size() != text.size()) continue;
        bool equal = true;
        for (std::size_t k = 0; k < item.size() && equal; ++k)
            equal = lower(static_cast<unsigned char>(item[k])) ==
                    lower(static_cast<unsigned char>(text[k]));
        if (equal) {
            comboSetCurSel(id, i);
            return i;
        }
    }
    return -1;
}

int lastFocusedControl() {
    std::lock_guard<std::mutex> lock(tableLock);
    return focused;
}

void resetWindowControls() {
    std::lock_guard<std::mutex> lock(tableLock);
    table.clear();
    focused = 0;
}

const WindowControlsHandler* setWindowControlsHandler(const WindowControlsHandler* handler) {
    return currentHandler.exchange(handler);
}
