#include "production/caption_markers.h"

#include <algorithm>
#include <string>

#include "foundation/globals.h"
#include "foundation/linked_list.h"
#include "foundation/text.h"
#include "platform/command_ids.h"
#include "platform/window_controls.h"
#include "production/picture_list.h"
#include "production/picture_selection.h"
#include "render/picture_record.h"

const int kCaptionPanelControls[] = {
    IDC_CAPTION_POSITION, IDC_CAPTION_TEXT,   IDC_CAPTION_FONT, IDC_FONT_SIZE,
    IDC_CAPTION_COLOR,    IDC_CAPTION_SAMPLE, IDC_CAPTION_HELP,
};
const int kCaptionPanelControlCount =
    static_cast<int>(sizeof kCaptionPanelControls / sizeof kCaptionPanelControls[0]);

namespace {

const CaptionRecord& captionAt(int index) { return *pictureAt(index)->caption; }

bool hasVisibleText(const std::string& text) {
    std::string copy = text;
    return *trim(copy.data()) != '\0';
}

} // namespace

int captionModeFromBoxes() {
    if (isChecked(IDC_CAPTION_CHECK)) return 1;
    if (isChecked(IDC_CAPTION_CHECK2)) return 2;
    return 0;
}

ListPoint captionMarkerPosition(int position, int mode, ListPoint item, int scroll, ListRect icon) {
    const int k = mode == 2 ? 8 : 0;
    const int left = item.x - scroll;
    const int top = item.y + k + 8;
    const int bottom = item.y + icon.bottom - k - 28;
    ListPoint at;
    switch (position) {
    case 0: at = {left + 1, top}; break;
    case 1: at = {left + 1, bottom - 1}; break;
    case 2: at = {icon.right - 33, top}; break;
    case 3: at = {icon.right - 33, bottom}; break;
    case 4: at = {(icon.right + left - 28) / 2, bottom}; break;
    case 5: at = {left + 7, top}; break;
    case 6: at = {left + 7, bottom - 1}; break;
    case 7: at = {icon.right - 39, top}; break;
    case 8: at = {icon.right - 39, bottom}; break;
    default: at = {(icon.right + left - 28) / 2, item.y + icon.bottom + k - 18}; break;
    }
    return at;
}

void positionCaptionPreview(int row) {
    if (row < 0 || row >= kCaptionMarkerSlots || row >= pictureListSize()) return;
    const CaptionRecord& caption = captionAt(row);
    ListPoint at = captionMarkerPosition(caption.position, static_cast<int>(caption.mode),
                                         listRowPosition(row), listHorizontalScroll(),
                                         listRowIconRect(row));
    moveCaptionMarker(row, at.x, at.y);
}

void updateCaptionPreviews() {
    const int marked = std::min(pictureListSize(), kCaptionMarkerSlots);
    const bool captions = isChecked(IDC_CAPTION_CHECK) || isChecked(IDC_CAPTION_CHECK2);
    const int first = captions ? listHitTest(1, 60) : -1;
    for (int i = 0; i < kCaptionMarkerSlots; ++i) {
        bool shown = false;
        if (captions && i < marked) {
            const CaptionRecord& caption = captionAt(i);
            shown = caption.mode != 0 && hasVisibleText(caption.text) &&
                    (first == -1 || (first <= i && i <= first + 7));
        }
        if (shown) positionCaptionPreview(i);
        showCaptionMarker(i, shown);
    }
}

void enableCaptionControls() {
    int on = isControlEnabled(IDC_CAPTION_CHECK) &&
             (isChecked(IDC_CAPTION_CHECK) || isChecked(IDC_CAPTION_CHECK2));
    for (int i = 0; i < kCaptionPanelControlCount; ++i) enableControl(kCaptionPanelControls[i], on);
}

void applyCaptionModeToAll(int checkedBox, int otherBox) {
    if (isChecked(checkedBox)) setChecked(otherBox, 0);
    enableCaptionControls();
    const std::uint32_t mode = static_cast<std::uint32_t>(captionModeFromBoxes());
    for (int i = 0; i < pictureListSize(); ++i)
        pictureAt(i)->caption->mode = mode;
    updateCaptionPreviews();
    if (selectedRowCount() != 1) {
        enableControl(IDC_CAPTION_POSITION, 0);
        enableControl(IDC_CAPTION_TEXT, 0);
    }
}
