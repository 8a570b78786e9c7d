// The main window's toolbar: a row of flat buttons with a 32 x 32 icon
// above their text, each registered under its command id and sending it
// when clicked; "GIF模式" is a check button, "软件设置" drops its menu down.
#pragma once

class QMenu;
class QWidget;

// Builds the toolbar along the top of window from kToolbarEntries;
// dropDown is the settings button's menu.
QWidget* createMainToolbar(QWidget* window, QMenu* dropDown);
