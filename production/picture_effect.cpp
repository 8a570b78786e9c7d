#include "production/picture_effect.h"

#include "foundation/globals.h"
#include "foundation/linked_list.h"
#include "platform/command_ids.h"
#include "platform/picture_list_view.h"
#include "platform/window_controls.h"
#include "production/selection_state.h"
#include "production/timing.h"
#include "render/picture_renderer.h"

void setPictureEffect(int row, int effectIndex) {
    if (!pictureList || row < 0 || row >= linkedlist_size(pictureList)) return;
    auto* picture = static_cast<PictureRecord*>(linkedlist_get(pictureList, row));
    picture->effectIndex = effectIndex;
    picture->effectName = getEffectName(effectIndex);
    // In GIF mode the rows show file names instead of effects.
    setRowLabel(row, isChecked(IDM_GIF_MODE) ? picture->fileName : picture->effectName);
    updateSelectionState();
    showVideoLength();
    if (comboGetCurSel(IDC_PAUSE_TIME) > 0) syncPauseWithMusic();
}
