// Sizing, placing and dressing top-level windows. A window's size is its
// client size; the frame the window manager adds is measured once the
// window is shown (before that it counts as none).
#pragma once

class QWidget;

// Frame width (out[0]) and height (out[1]) the window manager adds.
void getNonClientSize(QWidget* window, int out[2]);

// Makes the client area width x height, plus the full height of extra (a
// status bar at the bottom) when given. A fixed-size window stays fixed.
void setClientSize(QWidget* window, int width, int height, QWidget* extra);

// Centres the window on its screen's available area (the frame shared out
// on both sides) and raises it.
void centerWindow(QWidget* window);

// Window opacity from alpha (0 transparent to 255 opaque).
void setWindowAlpha(QWidget* window, int alpha);

// Gives the window the program's icon.
void setWindowIcon(QWidget* window);
