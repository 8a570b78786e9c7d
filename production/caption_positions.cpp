#include "production/caption_positions.h"

#include "platform/command_ids.h"
#include "platform/window_controls.h"
#include "production/caption_markers.h"
#include "production/picture_list.h"
#include "production/picture_selection.h"

namespace {

// Positions 0 to 3 are the edge corners, 5 to 8 the same corners inset;
// 4 is the centre bottom.
constexpr int kInset = 5;

bool inset(CaptionLayout layout) {
    return layout == CaptionLayout::InsetDiagonal || layout == CaptionLayout::InsetCross;
}

// The corner 0 left top, 1 left bottom, 2 right top, 3 right bottom of a
// position of either family; the centre counts as the left bottom.
int cornerOf(int position) {
    if (position >= kInset && position <= kInset + 3) return position - kInset;
    if (position >= 0 && position <= 3) return position;
    return 1;
}

} // namespace

int firstCaptionPosition(CaptionLayout layout, int position) {
    if (layout == CaptionLayout::CenterBottom) return 4;
    return cornerOf(position) + (inset(layout) ? kInset : 0);
}

int nextCaptionPosition(CaptionLayout layout, int previous) {
    if (layout == CaptionLayout::CenterBottom) return 4;
    const int corner = cornerOf(previous);
    const bool diagonal =
        layout == CaptionLayout::EdgeDiagonal || layout == CaptionLayout::InsetDiagonal;
    const int next = diagonal ? 3 - corner : (corner + 1) % 4;
    return next + (inset(layout) ? kInset : 0);
}

void arrangeCaptions(CaptionLayout layout) {
    int previous = 0;
    for (int i = 0; i < pictureListSize(); ++i) {
        CaptionRecord& caption = *pictureAt(i)->caption;
        caption.position = i == 0 ? firstCaptionPosition(layout, caption.position)
                                  : nextCaptionPosition(layout, previous);
        previous = caption.position;
    }
    updateCaptionPreviews();
    if (selectedRowCount() == 1)
        comboSetCurSel(IDC_CAPTION_POSITION, pictureAt(getSelectedItemIndex())->caption->position);
}
