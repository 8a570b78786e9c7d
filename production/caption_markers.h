// The caption markers over the picture list's rows (a small "文字" window
// where each picture's caption will appear in the video) and the caption
// boxes' mode applied to every picture.
#pragma once

#include "platform/picture_list_view.h"

// The caption controls of the caption panel other than its two check
// boxes; they are usable only while a caption box is checked.
extern const int kCaptionPanelControls[];
extern const int kCaptionPanelControlCount;

// Caption mode of the check boxes: 1 "加文字", else 2 "加文字(天猫版)", else 0.
int captionModeFromBoxes();

// Where a row's marker goes (its top-left corner, list client coordinates)
// for a caption at position (0 to 8) of mode (2 sits 8 pixels further in
// vertically), from the row's item position (view coordinates), the
// horizontal scroll and the row's icon rectangle (client coordinates).
ListPoint captionMarkerPosition(int position, int mode, ListPoint item, int scroll, ListRect icon);

// Moves the marker of row (below 60, within the list) into place.
void positionCaptionPreview(int row);

// Shows the markers of the captioned pictures near the first visible row
// (those with a caption mode, a non-blank text, and at most 7 rows past the
// row at the list's left edge); hides the others. Only the first 60 rows
// have markers.
void updateCaptionPreviews();

// Enables the caption panel's controls when "加文字" is enabled and either
// caption box is checked, else disables them.
void enableCaptionControls();

// After checkedBox (IDC_CAPTION_CHECK or IDC_CAPTION_CHECK2) changed: when
// it is checked, otherBox is unchecked; the panel's controls, every
// picture's caption mode and the markers follow. Unless exactly one row is
// selected, the position combo and the caption edit stay disabled.
void applyCaptionModeToAll(int checkedBox, int otherBox);
