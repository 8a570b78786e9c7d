// The program's message boxes: every box of every layer goes through
// messageBox (platform/message_box.h), and this layer shows it as a Qt
// message box with the box's caption and icon and the Chinese button texts
// 确定, 取消, 是 and 否. The first button is the default, as on the desktop
// the program was first written for.
//
// Boxes are modal to their owner (a QWidget, or null for the start-up boxes
// that have no window yet). A box asked for on another thread is shown on
// the user-interface thread while the asking thread waits.
#pragma once

#include <QString>

class QMessageBox;
class QWidget;

// A box ready to run: buttons, icon, texts and default button of the
// MB_* type. The caller owns it.
QMessageBox* createMessageBox(QWidget* owner, const QString& text, const QString& caption,
                              unsigned type);

// The IDOK, IDCANCEL, IDYES or IDNO answer of a box that closed with
// clicked (null: closed with Escape or its close box).
int messageBoxAnswer(QMessageBox* box, unsigned type);

// Makes messageBox show Qt message boxes. Call once the QApplication exists.
void installPromptLayer();
