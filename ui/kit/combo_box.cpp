#include "ui/kit/combo_box.h"

#include <QAbstractButton>
#include <QComboBox>

int buttonGetCheck(QAbstractButton* button) { return button->isChecked() ? 1 : 0; }

void buttonSetCheck(QAbstractButton* button, int checked) { button->setChecked(checked != 0); }

int comboAddString(QComboBox* combo, const QString& text) {
    combo->addItem(text);
    int index = combo->count() - 1;
    if (index == 0) combo->setCurrentIndex(0);
    return index;
}

int comboInsertString(QComboBox* combo, int index, const QString& text) {
    if (index < 0 || index > combo->count()) index = combo->count();
    combo->insertItem(index, text);
    return index;
}

int comboDeleteString(QComboBox* combo, int index) {
    if (index < 0 || index >= combo->count()) return -1;
    combo->removeItem(index);
    return combo->count();
}

void comboReplaceString(QComboBox* combo, int index, const QString& text) {
    if (index >= 0 && index < combo->count()) combo->setItemText(index, text);
}

int comboGetCurSel(QComboBox* combo) { return combo->currentIndex(); }

void comboSetCurSel(QComboBox* combo, int index) {
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

QString comboGetSelectedText(QComboBox* combo) { return combo->currentText(); }

QString comboGetItemText(QComboBox* combo, int index) { return combo->itemText(index); }

int comboSelectString(QComboBox* combo, const QString& text) {
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i).compare(text, Qt::CaseInsensitive) == 0) {
            combo->setCurrentIndex(i);
            return i;
        }
    }
    return -1;
}

int comboGetCount(QComboBox* combo) { return combo->count(); }
