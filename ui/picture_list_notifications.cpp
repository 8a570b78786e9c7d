#include "ui/picture_list_notifications.h"

#include <QAction>
#include <QMenu>
#include <QPoint>
#include <string>

#include "foundation/shell.h"
#include "foundation/text.h"
#include "platform/command_ids.h"
#include "platform/picture_list_view.h"
#include "platform/window_controls.h"
#include "production/caption_markers.h"
#include "production/picture_list.h"
#include "production/picture_selection.h"
#include "production/selection_state.h"
#include "ui/command_router.h"
#include "ui/main_commands.h"

namespace {

void enable(QMenu* menu, int id, bool enabled) {
    for (QAction* action : commandActions(menu, id)) action->setEnabled(enabled);
}

// The caption's text is kept trimmed from here on.
bool hasCaptionText(PictureRecord* picture) {
    if (picture->caption->mode == 0) return false;
    std::string text = picture->caption->text;
    picture->caption->text = trim(text.data());
    return !picture->caption->text.empty();
}

int firstRowWith(int state) {
    for (int row = 0; row < listRowCount(); ++row)
        if (listRowState(row) & state) return row;
    return -1;
}

} // namespace

void onPictureListScrollStarted() {
    hideHoverPanel();
    int rows = pictureListSize();
    for (int row = 0; row < rows && row < kCaptionMarkerSlots; ++row)
        if (hasCaptionText(pictureAt(row))) showCaptionMarker(row, 0);
}

void onPictureListScrollEnded() {
    placeEffectCombo();
    updateCaptionPreviews();
}

void onPictureListSelectionChanged() {
    int focused = firstRowWith(ROW_FOCUSED);
    if (selectedRowCount() == 1 && focused >= 0) {
        int selected = firstRowWith(ROW_SELECTED);
        if (selected != focused) {
            setListRowState(focused, 0, ROW_FOCUSED);
            setListRowState(selected, ROW_FOCUSED, ROW_FOCUSED);
        }
    }
    updateSelectionState();
}

void onPictureListFocused() { updateSelectionState(); }

void onPictureListClicked() { setControlFocus(IDC_PICTURE_LIST); }

void onPictureListDoubleClicked() {
    int row = getSelectedItemIndex();
    if (row < 0) {
        addPicturesFromDialog();
        return;
    }
    if (PictureRecord* picture = pictureAt(row)) shellOpen(picture->path.c_str());
}

void prepareListContextMenu(QMenu* menu) {
    int count = pictureListSize();
    int selected = selectedRowCount();
    bool gif = isChecked(IDM_GIF_MODE) != 0;
    bool captions = isChecked(IDC_CAPTION_CHECK) || isChecked(IDC_CAPTION_CHECK2);
    enable(menu, IDM_CTX_ADD_PICTURES, true);
    enable(menu, IDM_CTX_LOAD_ITEM_PICTURES, true);
    enable(menu, IDM_REMOVE_ALL, count >= 1);
    enable(menu, IDM_RANDOM_EFFECTS, count >= 1 && !gif);
    for (int id = IDM_CAPTION_EDGE_DIAGONAL; id <= IDM_CAPTION_CENTER_BOTTOM; ++id)
        enable(menu, id, count >= 1 && captions);
    bool onSelection = count >= 1 && selected >= 1;
    enable(menu, IDM_CTX_REMOVE_SELECTED, onSelection);
    enable(menu, IDM_PREVIEW_PICTURE, onSelection && hasSupportSite());
    enable(menu, IDM_APPLY_EFFECT_TO_ALL, onSelection && selected == 1 && !gif);
}

void showListContextMenu(QMenu* menu, const QPoint& where) {
    prepareListContextMenu(menu);
    menu->exec(where);
}
