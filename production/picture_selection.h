// What follows the picture list's selection: the toolbar's remove and move
// buttons, the caption controls showing the selected pictures' captions,
// status-bar part 1 and the effect combo over the selected row.
#pragma once

// The refresh installed as updateSelectionState (production/selection_state.h).
void refreshSelectionState();

// Number of selected rows.
int selectedRowCount();
