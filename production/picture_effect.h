// Changing one picture's transition effect, and everything that follows
// from it (its row's label, the selection state, the video length, the
// music-fitted pause).
#pragma once

// Sets the effect of the picture in row (its index and display name; "无动画"
// for an index without one). Rows outside the list are ignored.
void setPictureEffect(int row, int effectIndex);
