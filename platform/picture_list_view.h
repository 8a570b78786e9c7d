// The picture list view: one row per picture of pictureList, in order,
// each with its thumbnail and labelled with the picture's effect name (its
// file name in GIF mode); the caption markers over the rows, the effect
// combo's hover panel and the empty-list hint live inside it.
//
// Rows show the icons side by side in one line that scrolls horizontally.
// Geometry follows the view: an item's position is in view coordinates
// (not moved by scrolling), its icon rectangle in the list's client
// coordinates (moved by scrolling).
//
// The user interface installs a handler at start-up, called on the
// user-interface thread. Until then, and in tests, an in-memory list view
// answers (see PictureListViewState below); a handler may leave entries
// null, and those calls then do nothing (queries answer 0 or -1).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Row state bits.
enum : int {
    ROW_SELECTED = 0x1,
    ROW_FOCUSED = 0x2,
};

constexpr int kCaptionMarkerSlots = 60;  // one marker per row index 0 to 59

struct ListPoint {
    int x = 0, y = 0;
};
struct ListRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// A row's thumbnail: width x height 8-bit RGBA pixels, row by row.
struct RowIcon {
    int width = 0;
    int height = 0;
    const std::uint8_t* rgba = nullptr;
};

struct PictureListViewHandler {
    // Sets a row's label and redraws the row.
    void (*setRowLabel)(int row, const std::string& label) = nullptr;
    // Deselects every row, selects and focuses row, scrolls it into view
    // and redraws all rows.
    void (*selectOnlyRow)(int row) = nullptr;

    // Inserts a row at index (the row count at most) showing icon and
    // label, unselected. Returns the row's index, or -1 when it cannot.
    int (*insertRow)(int index, const std::string& label, const RowIcon& icon) = nullptr;
    // Deletes one row with its thumbnail; the rows after it move up.
    void (*deleteRow)(int row) = nullptr;
    // Deletes every row and every thumbnail.
    void (*deleteAllRows)() = nullptr;
    int (*rowCount)() = nullptr;
    // ROW_SELECTED and ROW_FOCUSED bits of a row; 0 outside the rows.
    int (*rowState)(int row) = nullptr;
    // Sets the bits of mask in the row's state to those of state.
    void (*setRowState)(int row, int state, int mask) = nullptr;
    // The two rows exchange their thumbnails (labels and states stay).
    void (*swapRowIcons)(int a, int b) = nullptr;
    // Scrolls the row into view.
    void (*ensureRowVisible)(int row) = nullptr;
    // Lays the icons out again in row order (after rows went away).
    void (*arrangeRows)() = nullptr;

    ListPoint (*rowPosition)(int row) = nullptr;   // view coordinates
    ListRect (*rowIconRect)(int row) = nullptr;    // client coordinates
    int (*horizontalScroll)() = nullptr;           // pixels scrolled from the left edge
    // The row under a client point, or -1.
    int (*hitTest)(int x, int y) = nullptr;

    void (*showEmptyListHint)(int shown) = nullptr;
    // The effect combo's panel: moved to (x, y) in client coordinates and
    // shown, or hidden.
    void (*showHoverPanel)(int x, int y) = nullptr;
    void (*hideHoverPanel)() = nullptr;
    // Caption marker slot (0 to 59): moved to (x, y), shown or hidden.
    void (*moveCaptionMarker)(int slot, int x, int y) = nullptr;
    void (*showCaptionMarker)(int slot, int shown) = nullptr;
};

void setRowLabel(int row, const std::string& label);
void selectOnlyRow(int row);
int insertListRow(int index, const std::string& label, const RowIcon& icon);
void deleteListRow(int row);
void deleteAllListRows();
int listRowCount();
int listRowState(int row);
void setListRowState(int row, int state, int mask);
void swapListRowIcons(int a, int b);
void ensureListRowVisible(int row);
void arrangeListRows();
ListPoint listRowPosition(int row);
ListRect listRowIconRect(int row);
int listHorizontalScroll();
int listHitTest(int x, int y);
void showEmptyListHint(int shown);
void showHoverPanel(int x, int y);
void hideHoverPanel();
void moveCaptionMarker(int slot, int x, int y);
void showCaptionMarker(int slot, int shown);

// Installs the handler (null restores the in-memory list view) and returns
// the previous one.
const PictureListViewHandler* setPictureListViewHandler(const PictureListViewHandler* handler);

// ---- The in-memory list view ----
// Icons stand in a line, kMemoryCellWidth apart from x 0 (item positions
// (i * kMemoryCellWidth, 0)); an icon rectangle is 144 x 144 from (item x +
// 4 - scroll, 2); hit tests find the cell under the point.
constexpr int kMemoryCellWidth = 152;

struct MemoryListRow {
    std::string label;
    int state = 0;
    int icon = 0;          // serial number of the inserted thumbnail
    int iconWidth = 0;
    int iconHeight = 0;
};

struct MemoryCaptionMarker {
    int x = 0, y = 0;
    bool shown = false;
};

struct PictureListViewState {
    std::vector<MemoryListRow> rows;
    int iconsInserted = 0;     // thumbnails ever inserted
    int arranged = 0;          // arrangeRows calls
    int scroll = 0;
    bool emptyHintShown = true;
    bool hoverPanelShown = false;
    ListPoint hoverPanel;
    MemoryCaptionMarker markers[kCaptionMarkerSlots];
    int lastVisibleRow = -1;   // last ensureRowVisible
};

// A copy of the in-memory list view.
PictureListViewState memoryListView();
// Scrolls it (tests of the geometry that follows the scroll).
void setMemoryListScroll(int pixels);
// Empties it: no rows, hint shown, markers and panel hidden.
void resetMemoryListView();
