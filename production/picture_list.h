// The picture list model: pictureList's records (render/picture_record.h)
// and the list view rows that show them, kept in step. Row i always shows
// record i. Adding probes the file, makes its thumbnail and gives it a
// random effect no other picture has; removing frees records; the limit is
// maxPictures. The toolbar, the status bar and the caption markers follow
// the list through the platform seams, so all of this runs without a
// window.
//
// User-interface thread only (workers reach it through runOnUiThread).
// While a render thread reads pictureList, the main window is disabled, so
// none of these runs then.
#pragma once

#include <string>
#include <vector>

#include "render/picture_record.h"

// Creates the empty pictureList (when there is none) and installs the
// selection refresh (production/selection_state.h). Call once at start-up.
void initPictureList();
// Frees every record and pictureList itself (tests, shutdown).
void freePictureList();

// Pictures in the list (0 before it exists), and the record at index (null
// outside the list).
int pictureListSize();
PictureRecord* pictureAt(int index);

// Adds one picture at the end of the list: 1 added; 0 refused, with the
// reason appended to the information window.
int addPicture(const std::string& path);
// The open dialog ("选择图片 - 支持多选"), then addPictureFiles.
void addPicturesFromDialog();
// Adds the files in order with the wait cursor and "加载图片: i / n" in
// status-bar part 1, stopping with the limit message when the list is
// full; then the picture count, selection and video length are refreshed.
void addPictureFiles(const std::vector<std::string>& paths);

void removeSelectedPictures();
void removeAllPictures();
// Removes the rows and records beyond maxPictures.
void trimPictureList();
// Every row's label again: the file name in GIF mode, else the effect name.
void refreshPictureRows();

// First selected row, first focused row, or -1.
int getSelectedItemIndex();
int getFocusedItemIndex();
// The record of the single selected row, else of the focused row, or null.
PictureRecord* getSelectedPicture();

// Exchanges the selected picture with its left (-1) or right (+1)
// neighbour: path, file name, thumbnail and caption move, the effect stays
// with the position; the selection follows the picture. Nothing without a
// single selected picture with a neighbour on that side.
void movePicture(int direction);

// "最多可以添加 %d 张图片".
void showMaxPicturesMessage();
// 1 when the list is not empty and no picture lies in the work folder.
int picturesOutsideTempDir();
// Status-bar part 0, the buttons that need pictures, the empty-list hint.
void updatePictureCount();
// Shows the per-picture effect combo over the single selected row, or hides it.
void placeEffectCombo();

// The list view's thumbnail counter: how many thumbnails were added since
// the list was last emptied. A failed add gives its number back.
void resetPictureCounter();
int incPictureCounter();
int decPictureCounter();
