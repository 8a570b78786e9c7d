#include "platform/picture_list_view.h"

#include <atomic>
#include <mutex>
#include <utility>

namespace {

std::atomic<const PictureListViewHandler*> currentHandler{nullptr};

// The in-memory list view. Only the user-interface thread (or a test's
// thread) uses it, but a test may read it while a worker reports, so it
// has its own lock.
std::mutex memoryLock;
PictureListViewState memory;

bool validRow(int row) { return row >= 0 && row < static_cast<int>(memory.rows.size()); }

void memorySetRowLabel(int row, const std::string& label) {
    std::lock_guard<std::mutex> hold(memoryLock);
    if (validRow(row)) memory.rows[row].label = label;
}

void memorySelectOnlyRow(int row) {
    std::lock_guard<std::mutex> hold(memoryLock);
    if (!validRow(row)) return;
    for (MemoryListRow& each : memory.rows) each.state = 0;
    memory.rows[row].state = ROW_SELECTED | ROW_FOCUSED;
    memory.lastVisibleRow = row;
}

int memoryInsertRow(int index, const std::string& label, const RowIcon& icon) {
    std::lock_guard<std::mutex> hold(memoryLock);
    if (index < 0 || index > static_cast<int>(memory.rows.size())) return -1;
    MemoryListRow row;
    row.label = label;
    row.icon = ++memory.iconsInserted;
    row.iconWidth = icon.width;
    row.iconHeight = icon.height;
    memory.rows.insert(memory.rows.begin() + index, row);
    return index;
}

void memoryDeleteRow(int row) {
    std::lock_guard<std::mutex> hold(memoryLock);
    if (validRow(row)) memory.rows.erase(memory.rows.begin() + row);
}

void memoryDeleteAllRows() {
    std::lock_guard<std::mutex> hold(memoryLock);
    memory.rows.clear();
}

int memoryRowCount() {
    std::lock_guard<std::mutex> hold(memoryLock);
    return static_cast<int>(memory.rows.size());
}

int memoryRowState(int row) {
    std::lock_guard<std::mutex> hold(memoryLock);
    return validRow(row) ? memory.rows[row].state : 0;
}

void memorySetRowState(int row, int state, int mask) {
    std::lock_guard<std::mutex> hold(memoryLock);
    if (!validRow(row)) return;
    int& bits = memory.rows[row].state;
    bits = (bits & ~mask) | (state & mask);
}

void memorySwapRowIcons(int a, int b) {
    std::lock_guard<std::mutex> hold(memoryLock);
    if (!validRow(a) || !validRow(b)) return;
    MemoryListRow& first = memory.rows[a];
    MemoryListRow& second = memory.rows[b];
    std::swap(first.icon, second.icon);
    std::swap(first.iconWidth, second.iconWidth);
    std::swap(first.iconHeight, second.iconHeight);
}

void memoryEnsureRowVisible(int row) {
    std::lock_guard<std::mutex> hold(memoryLock);
    memory.lastVisibleRow = row;
}

void memoryArrangeRows() {
    std::lock_guard<std::mutex> hold(memoryLock);
    ++memory.arranged;
}

ListPoint memoryRowPosition(int row) {
    ListPoint point;
    point.x = row * kMemoryCellWidth;
    return point;
}

ListRect memoryRowIconRect(int row) {
    std::lock_guard<std::mutex> hold(memoryLock);
    ListRect rect;
    rect.left = row * kMemoryCellWidth + 4 - memory.scroll;
    rect.top = 2;
    rect.right = rect.left + 144;
    rect.bottom = rect.top + 144;
    return rect;
}

int memoryHorizontalScroll() {
    std::lock_guard<std::mutex> hold(memoryLock);
    return memory.scroll;
}

int memoryHitTest(int x, int y) {
    std::lock_guard<std::mutex> hold(memoryLock);
    if (y < 0 || y >= kMemoryCellWidth || x + memory.scroll < 0) return -1;
    int row = (x + memory.scroll) / kMemoryCellWidth;
    return validRow(row) ? row : -1;
}

void memoryShowEmptyListHint(int shown) {
    std::lock_guard<std::mutex> hold(memoryLock);
    memory.emptyHintShown = shown != 0;
}

void memoryShowHoverPanel(int x, int y) {
    std::lock_guard<std::mutex> hold(memoryLock);
    memory.hoverPanelShown = true;
    memory.hoverPanel.x = x;
    memory.hoverPanel.y = y;
}

void memoryHideHoverPanel() {
    std::lock_guard<std::mutex> hold(memoryLock);
    memory.hoverPanelShown = false;
}

void memoryMoveCaptionMarker(int slot, int x, int y) {
    if (slot < 0 || slot >= kCaptionMarkerSlots) return;
    std::lock_guard<std::mutex> hold(memoryLock);
    memory.markers[slot].x = x;
    memory.markers[slot].y = y;
}

void memoryShowCaptionMarker(int slot, int shown) {
    if (slot < 0 || slot >= kCaptionMarkerSlots) return;
    std::lock_guard<std::mutex> hold(memoryLock);
    memory.markers[slot].shown = shown != 0;
}

const PictureListViewHandler memoryView = {
    memorySetRowLabel,     memorySelectOnlyRow,   memoryInsertRow,        memoryDeleteRow,
    memoryDeleteAllRows,   memoryRowCount,        memoryRowState,         memorySetRowState,
    memorySwapRowIcons,    memoryEnsureRowVisible, memoryArrangeRows,     memoryRowPosition,
    memoryRowIconRect,     memoryHorizontalScroll, memoryHitTest,         memoryShowEmptyListHint,
    memoryShowHoverPanel,  memoryHideHoverPanel,  memoryMoveCaptionMarker, memoryShowCaptionMarker,
};

const PictureListViewHandler& view() {
    const PictureListViewHandler* handler = currentHandler.load();
    return handler ? *handler : memoryView;
}

} // namespace

void setRowLabel(int row, const std::string& label) {
    if (view().setRowLabel) view().setRowLabel(row, label);
}
void selectOnlyRow(int row) {
    if (view().selectOnlyRow) view().selectOnlyRow(row);
}
int insertListRow(int index, const std::string& label, const RowIcon& icon) {
    return view().insertRow ? view().insertRow(index, label, icon) : -1;
}
void deleteListRow(int row) {
    if (view().deleteRow) view().deleteRow(row);
}
void deleteAllListRows() {
    if (view().deleteAllRows) view().deleteAllRows();
}
int listRowCount() { return view().rowCount ? view().rowCount() : 0; }
int listRowState(int row) { return view().rowState ? view().rowState(row) : 0; }
void setListRowState(int row, int state, int mask) {
    if (view().setRowState) view().setRowState(row, state, mask);
}
void swapListRowIcons(int a, int b) {
    if (view().swapRowIcons) view().swapRowIcons(a, b);
}
void ensureListRowVisible(int row) {
    if (view().ensureRowVisible) view().ensureRowVisible(row);
}
void arrangeListRows() {
    if (view().arrangeRows) view().arrangeRows();
}
ListPoint listRowPosition(int row) {
    return view().rowPosition ? view().rowPosition(row) : ListPoint();
}
ListRect listRowIconRect(int row) {
    return view().rowIconRect ? view().rowIconRect(row) : ListRect();
}
int listHorizontalScroll() { return view().horizontalScroll ? view().horizontalScroll() : 0; }
int listHitTest(int x, int y) { return view().hitTest ? view().hitTest(x, y) : -1; }
void showEmptyListHint(int shown) {
    if (view().showEmptyListHint) view().showEmptyListHint(shown);
}
void showHoverPanel(int x, int y) {
    if (view().showHoverPanel) view().showHoverPanel(x, y);
}
void hideHoverPanel() {
    if (view().hideHoverPanel) view().hideHoverPanel();
}
void moveCaptionMarker(int slot, int x, int y) {
    if (view().moveCaptionMarker) view().moveCaptionMarker(slot, x, y);
}
void showCaptionMarker(int slot, int shown) {
    if (view().showCaptionMarker) view().showCaptionMarker(slot, shown);
}

const PictureListViewHandler* setPictureListViewHandler(const PictureListViewHandler* handler) {
    return currentHandler.exchange(handler);
}

PictureListViewState memoryListView() {
    std::lock_guard<std::mutex> hold(memoryLock);
    return memory;
}

void setMemoryListScroll(int pixels) {
    std::lock_guard<std::mutex> hold(memoryLock);
    memory.scroll = pixels;
}

void resetMemoryListView() {
    std::lock_guard<std::mutex> hold(memoryLock);
    memory = PictureListViewState();
}
