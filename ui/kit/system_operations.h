// Sizes of the screen and of standard window parts, and the clipboard.
#pragma once

class QWidget;

// Title-bar height of the current style minus 22, the height the
// program's layouts were drawn for.
int captionHeightDelta();
// Height of the window with its frame; 0 for null.
int getWindowHeight(QWidget* window);
// Size of the primary screen; null outputs are skipped.
void getScreenSize(int* width, int* height);
// Size of a maximised window (the screen less panels and docks).
void getMaximizedSize(int* width, int* height);
// Height of a menu bar.
int getMenuBarHeight();

class QString;
// Puts text on the clipboard; 1 on success, 0 when there is no clipboard.
int copyToClipboard(const QString& text);
