// The information window "信息 - F2": a small tool window of the main
// window holding a read-only log (green on black) of notices too long or
// too many for message boxes. Appending shows it; closing only hides it,
// so the log survives; F2 shows and hides it.
#pragma once

class QPlainTextEdit;
class QWidget;

// Creates the window (hidden) for owner, once; later calls return it.
QWidget* createInfoWindow(QWidget* owner);

// The window, or null before it is created.
QWidget* infoWindow();
QPlainTextEdit* infoWindowLog();

// Appends the text and a blank line, scrolls to the end and shows the
// window.
void appendInfoWindowText(const char* text);

// Shows the window when hidden, hides it when shown.
void toggleInfoWindow();

// Makes appendInfoText (platform/info_window.h) reach the window, moving
// into it what was logged before it existed.
void installInfoWindow();
