// The program-wide keyboard and click rules, applied to every window of
// the program except while a modal window runs or a window that disables
// the main window (the preview) is up:
// - Ctrl+D sends command IDM_REMOVE_ALL and F5 IDM_PREVIEW_PICTURE (code 1)
//   to the main window, whichever window has the focus;
// - Ctrl+A selects all text in an edit, all items in a list view, and all
//   pictures when a button, a combo box or the main window has the focus;
// - Delete removes the selected pictures when the picture list, a button,
//   a combo box or the main window has the focus (an edit keeps its Delete);
// - F2 shows or hides the information window;
// - a click gives the clicked control the focus (not labels, panels, the
//   status bar, the main window or the output panel) and hides the effect
//   combo's panel unless the focus is then on the picture list or that combo.
#pragma once

class QWidget;

// The kinds of control the rules tell apart.
enum class ControlClass { Static, StatusBar, Edit, ListView, Button, ComboBox, MainWindow, Other };

// The kind of a widget; the inner parts of a control (a list's viewport)
// count as the control.
ControlClass controlClassOf(QWidget* widget);

// Installs the rules on the application. Once, after the QApplication exists.
void installKeyboardRules();
