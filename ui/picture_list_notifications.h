// What the main window does when its picture list reports something: the
// list view calls these from its own signals.
#pragma once

class QMenu;
class QPoint;

// A scroll begins: the effect combo's panel and the caption markers of
// captioned pictures hide, so they do not trail the moving rows.
void onPictureListScrollStarted();
// A scroll ended: the panel and the markers are placed again.
void onPictureListScrollEnded();
// The selection changed: a single selected row that is not the focused one
// (while some row is) takes the focus; then the controls follow the
// selection.
void onPictureListSelectionChanged();
// The list took the focus.
void onPictureListFocused();
// A click: the list takes the keyboard focus.
void onPictureListClicked();
// A double click: the selected picture opens in the desktop's viewer; with
// nothing selected the add-pictures dialog opens.
void onPictureListDoubleClicked();

// Greys the list menu's commands for the current list: with no pictures
// everything but adding and loading; "更换一组动画" and "全部设置为该动画" in
// GIF mode; the caption layouts without a caption box checked; commands on
// a selection without one (and applying to all with several).
void prepareListContextMenu(QMenu* menu);
// Prepares the menu and shows it at a screen position.
void showListContextMenu(QMenu* menu, const QPoint& where);
