// Commands of the picture list and the effects: adding, loading, removing
// and moving pictures, preview and generation, random and common effects,
// the effect's web demonstration and the per-picture effect combo.
#include <QComboBox>
#include <string>

#include "foundation/shell.h"
#include "net/import/item_picture_loaders.h"
#include "net/service_host.h"
#include "platform/command_ids.h"
#include "platform/main_command.h"
#include "platform/picture_list_view.h"
#include "platform/window_controls.h"
#include "production/encoder_pipeline.h"
#include "production/picture_effect.h"
#include "production/picture_effects.h"
#include "production/picture_list.h"
#include "production/preview_run.h"
#include "ui/command_router.h"
#include "ui/main_commands.h"

namespace {

void addPictures(int, int) { addPicturesFromDialog(); }

void loadItemPicturesFromWeb(int, int) { loadItemPicturesCommand(); }

void removePictures(int, int) { removeSelectedPictures(); }

void removeAll(int, int) {
    if (listRowCount() > 0) removeAllPictures();
}

void moveLeft(int, int) { movePicture(-1); }
void moveRight(int, int) { movePicture(+1); }

void previewVideo(int, int) { togglePreview(); }

void makeVideo(int, int) { generateVideo(); }

void randomEffects(int, int) { randomizePictureEffects(); }

void effectForAll(int, int) { applyEffectToAll(); }

// The support site's demonstration of the focused picture's effect.
void demonstrateEffect(int, int) {
    int row = getFocusedItemIndex();
    if (row < 0 || !(listRowState(row) & ROW_SELECTED) || !pictureAt(row)) return;
    std::string url = supportSiteUrl("/preview.asp?id=" + std::to_string(pictureAt(row)->effectIndex));
    if (!url.empty()) openUrlInBrowser(url.c_str());
}

bool isSeparator(const std::string& text) { return text.find("---") != std::string::npos; }

// The hover panel's combo: a picked effect goes to the focused picture; a
// separator picks nothing.
void itemEffect(int id, int code) {
    std::string text = comboGetItemText(id, comboGetCurSel(id));
    if (code == CBN_CLOSEUP) {
        if (isSeparator(text)) hideHoverPanel();
        return;
    }
    if (code != CBN_SELCHANGE || isSeparator(text)) return;
    int row = getFocusedItemIndex();
    if (row >= 0) setPictureEffect(row, effectIndexByName(text));
    hideHoverPanel();
}

// The settings button drops its menu down itself.
void settingsButton(int, int) {}

} // namespace

void registerPictureCommands() {
    setCommandHandler(IDM_ADD_PICTURES, addPictures);
    setCommandHandler(IDM_CTX_ADD_PICTURES, addPictures);
    setCommandHandler(IDM_LOAD_ITEM_PICTURES, loadItemPicturesFromWeb);
    setCommandHandler(IDM_CTX_LOAD_ITEM_PICTURES, loadItemPicturesFromWeb);
    setCommandHandler(IDM_REMOVE_PICTURES, removePictures);
    setCommandHandler(IDM_CTX_REMOVE_SELECTED, removePictures);
    setCommandHandler(IDM_REMOVE_ALL, removeAll);
    setCommandHandler(IDM_MOVE_LEFT, moveLeft);
    setCommandHandler(IDM_MOVE_RIGHT, moveRight);
    setCommandHandler(IDM_PREVIEW_VIDEO, previewVideo);
    setCommandHandler(IDM_MAKE_VIDEO, makeVideo);
    setCommandHandler(IDC_MAKE_VIDEO, makeVideo);
    setCommandHandler(IDM_RANDOM_EFFECTS, randomEffects);
    setCommandHandler(IDM_APPLY_EFFECT_TO_ALL, effectForAll);
    setCommandHandler(IDM_PREVIEW_PICTURE, demonstrateEffect);
    setCommandHandler(IDC_ITEM_EFFECT, itemEffect);
    setCommandHandler(IDM_SETTINGS_MENU, settingsButton);
}
