// Thin helpers over list boxes (QListWidget, single or multiple selection)
// and over the selection of any item view.
#pragma once

#include <QString>

class QAbstractItemView;
class QListWidget;

// Appends text; the first item of an empty box is selected. Returns the
// new index.
int listboxAddString(QListWidget* box, const QString& text);
int listboxInsertString(QListWidget* box, int index, const QString& text);
// Removes the item; returns the remaining count, or -1 outside the items.
int listboxDeleteString(QListWidget* box, int index);
QString listboxGetText(QListWidget* box, int index);
// Selects the first item whose text begins with text ignoring case and
// returns its index; -1 when none does.
int listboxSelectString(QListWidget* box, const QString& text);
int listboxGetCount(QListWidget* box);
// Single selection: the selected item. Multiple selection: -1 when nothing
// is selected, else the current item when it is selected, else the first
// selected item.
int listboxGetCurrent(QListWidget* box);
// Single selection: makes index the selection. Multiple: adds it.
void listboxSelect(QListWidget* box, int index);
// Replaces the item's text; its selection and the current item stay.
void listboxReplaceString(QListWidget* box, int index, const QString& text);

// The first row that is both selected and current, else the first
// selected row, else -1.
int listViewGetFocusedSelected(QAbstractItemView* view);
// Selects row and makes it current, scrolled into view; when row already
// was the focused selection, every other row is deselected first.
void listViewSelectItem(QAbstractItemView* view, int row);
