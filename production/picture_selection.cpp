#include "production/picture_selection.h"

#include <cstdio>
#include <string>
#include <vector>

#include "foundation/globals.h"
#include "foundation/linked_list.h"
#include "platform/command_ids.h"
#include "platform/info_window.h"
#include "platform/picture_list_view.h"
#include "platform/status_bar.h"
#include "platform/window_controls.h"
#include "production/caption_markers.h"
#include "production/picture_list.h"
#include "render/picture_info.h"
#include "render/picture_renderer.h"

namespace {

// Selected rows that have a record, in row order.
std::vector<int> selectedRows() {
    std::vector<int> rows;
    int count = pictureListSize();
    for (int row = 0; row < count; ++row)
        if (listRowState(row) & ROW_SELECTED) rows.push_back(row);
    return rows;
}

int firstRowWith(int bit) {
    int count = pictureListSize();
    for (int row = 0; row < count; ++row)
        if (listRowState(row) & bit) return row;
    return -1;
}

// The caption edit shows text without the edit taking it as typed.
void showCaptionText(const std::string& text) {
    captionEditGuard = 1;
    setControlText(IDC_CAPTION_TEXT, text);
    captionEditGuard = 0;
}

// Size, type and file size of the picture, and how long its animation runs.
std::string pictureStatusLine(const PictureRecord& picture) {
    std::string line;
    if (!formatImageInfo(picture.path, &line) && !getPictureInfoText(picture.path, &line))
        appendInfoText("无法识别的图片:\r\n" + picture.path);
    int frames = 0;
    renderPicture(&picture, nullptr, &frames);
    char length[64];
    std::snprintf(length, sizeof length, ", 动画长度: %0.2f秒", frames / 25.0);
    return line + length;
}

void showOneSelected(int row, int rows) {
    enableControl(IDM_REMOVE_PICTURES, 1);
    enableControl(IDM_MOVE_LEFT, rows >= 2 && row > 0);
    enableControl(IDM_MOVE_RIGHT, rows >= 2 && row != rows - 1);
    int captions = isChecked(IDC_CAPTION_CHECK) || isChecked(IDC_CAPTION_CHECK2);
    enableControl(IDC_CAPTION_POSITION, captions);
    enableControl(IDC_CAPTION_TEXT, captions);
    const PictureRecord& picture = *pictureAt(row);
    comboSetCurSel(IDC_CAPTION_POSITION, picture.caption->position);
    comboSelectString(IDC_CAPTION_FONT, picture.caption->fontName);
    showCaptionText(picture.caption->text);
    setStatusText(1, pictureStatusLine(picture));
}

void showManySelected(const std::vector<int>& rows) {
    enableControl(IDM_REMOVE_PICTURES, 1);
    enableControl(IDM_MOVE_LEFT, 0);
    enableControl(IDM_MOVE_RIGHT, 0);
    int captions = isChecked(IDC_CAPTION_CHECK);
    enableControl(IDC_CAPTION_POSITION, captions);
    enableControl(IDC_CAPTION_TEXT, captions);
    const CaptionRecord& first = *pictureAt(rows[0])->caption;
    bool samePosition = true, sameText = true;
    for (int row : rows) {
        const CaptionRecord& caption = *pictureAt(row)->caption;
        samePosition = samePosition && caption.position == first.position;
        sameText = sameText && caption.text == first.text;
    }
    comboSetCurSel(IDC_CAPTION_POSITION, samePosition ? first.position : -1);
    showCaptionText(sameText ? first.text : std::string());
    char text[64];
    std::snprintf(text, sizeof text, "选中了 %d 张图片", static_cast<int>(rows.size()));
    setStatusText(1, text);
}

} // namespace

int selectedRowCount() { return static_cast<int>(selectedRows().size()); }

int getSelectedItemIndex() { return firstRowWith(ROW_SELECTED); }

int getFocusedItemIndex() { return firstRowWith(ROW_FOCUSED); }

PictureRecord* getSelectedPicture() {
    std::vector<int> rows = selectedRows();
    if (rows.size() == 1) return pictureAt(rows[0]);
    int focused = getFocusedItemIndex();
    return focused >= 0 ? pictureAt(focused) : nullptr;
}

void refreshSelectionState() {
    std::vector<int> rows = selectedRows();
    if (rows.empty()) {
        enableControl(IDM_REMOVE_PICTURES, 0);
        enableControl(IDM_MOVE_LEFT, 0);
        enableControl(IDM_MOVE_RIGHT, 0);
        enableControl(IDC_CAPTION_POSITION, 0);
        enableControl(IDC_CAPTION_TEXT, 0);
        applyCaptionModeToAll(IDC_CAPTION_CHECK, IDC_CAPTION_CHECK2);
        setStatusText(1, "");
    } else if (rows.size() == 1) {
        showOneSelected(rows[0], pictureListSize());
    } else {
        showManySelected(rows);
    }
    placeEffectCombo();
}

void placeEffectCombo() {
    std::vector<int> rows = selectedRows();
    int focus = focusedControl();
    bool place = rows.size() == 1 && rows[0] == getFocusedItemIndex() &&
                 (focus == IDC_PICTURE_LIST || focus == IDC_ITEM_EFFECT);
    if (!place || isChecked(IDM_GIF_MODE)) {
        hideHoverPanel();
        return;
    }
    int row = rows[0];
    comboSelectString(IDC_ITEM_EFFECT, pictureAt(row)->effectName);
    ListPoint item = listRowPosition(row);
    ListRect icon = listRowIconRect(row);
    showHoverPanel(item.x - listHorizontalScroll(), item.y + icon.bottom - 2);
}
