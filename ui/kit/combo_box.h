// Thin helpers over buttons and combo boxes, with the program's rules: the
// first item added to an empty combo becomes its selection, and a string
// is found ignoring case. Changes made here send no command; code that
// wants the control's handler to run sends it (sendMainCommand).
#pragma once

#include <QString>

class QAbstractButton;
class QComboBox;

int buttonGetCheck(QAbstractButton* button);
void buttonSetCheck(QAbstractButton* button, int checked);

// Appends text; the first item of an empty combo is selected. Returns the
// new index.
int comboAddString(QComboBox* combo, const QString& text);
// Inserts text before index (at the end when index is -1 or past it);
// returns the new item's index.
int comboInsertString(QComboBox* combo, int index, const QString& text);
// Removes the item; returns the remaining count, or -1 for an index outside
// the items.
int comboDeleteString(QComboBox* combo, int index);
// Replaces the item's text and keeps the selection.
void comboReplaceString(QComboBox* combo, int index, const QString& text);
// -1 when nothing is selected.
int comboGetCurSel(QComboBox* combo);
void comboSetCurSel(QComboBox* combo, int index);
QString comboGetSelectedText(QComboBox* combo);
QString comboGetItemText(QComboBox* combo, int index);
// Selects and returns the first item whose text equals text ignoring case;
// -1 (selection unchanged) when none does.
int comboSelectString(QComboBox* combo, const QString& text);
int comboGetCount(QComboBox* combo);
