// The program's controls by id (platform/command_ids.h), as the user
// interface created them. Lower layers read and set them through
// platform/window_controls.h; installWindowControls makes those calls reach
// the widgets registered here.
//
// User-interface thread only.
#pragma once

#include <QWidget>

// Registers widget under id, replacing an earlier one; the entry goes away
// by itself when the widget is destroyed.
void registerControl(int id, QWidget* widget);

// The widget registered under id, or null.
QWidget* controlWidget(int id);

template <class T>
T* controlAs(int id) {
    return qobject_cast<T*>(controlWidget(id));
}

// Makes platform/window_controls.h answer from the registered widgets:
// combo boxes (QComboBox), check boxes and check buttons
// (QAbstractButton), edits (QLineEdit, QPlainTextEdit, QTextEdit) and
// labels' texts (QLabel, QAbstractButton). An id with no widget of a
// fitting kind answers as an empty control and ignores changes.
void installWindowControls();
