#include "ui/control_registry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>
#include <map>

#include "platform/window_controls.h"

namespace {

std::map<int, QPointer<QWidget>> controls;

QComboBox* combo(int id) { return controlAs<QComboBox>(id); }

int qtComboGetCurSel(int id) {
    QComboBox* box = combo(id);
    return box ? box->currentIndex() : -1;
}

void qtComboSetCurSel(int id, int index) {
    QComboBox* box = combo(id);
    if (!box) return;
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

int qtComboGetCount(int id) {
    QComboBox* box = combo(id);
    return box ? box->count() : 0;
}

std::string qtComboGetItemText(int id, int index) {
    QComboBox* box = combo(id);
    if (!box || index < 0 || index >= box->count()) return {};
    return box->itemText(index).toStdString();
}

int qtComboAddString(int id, const std::string& text) {
    QComboBox* box = combo(id);
    if (!box) return -1;
    box->addItem(QString::fromStdString(text));
    int index = box->count() - 1;
    if (index == 0) box->setCurrentIndex(0);
    return index;
}

void qtComboDeleteString(int id, int index) {
    QComboBox* box = combo(id);
    if (box && index >= 0 && index < box->count()) box->removeItem(index);
}

// QComboBox keeps its current item when one is inserted before it.
int qtComboInsertString(int id, int index, const std::string& text) {
    QComboBox* box = combo(id);
    if (!box) return -1;
    if (index < 0 || index > box->count()) index = box->count();
    box->insertItem(index, QString::fromStdString(text));
    return index;
}

int qtIsChecked(int id) {
    auto* button = controlAs<QAbstractButton>(id);
    return button && button->isChecked() ? 1 : 0;
}

void qtSetChecked(int id, int checked) {
    if (auto* button = controlAs<QAbstractButton>(id)) button->setChecked(checked != 0);
}

std::string qtGetText(int id) {
    QWidget* widget = controlWidget(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text().toStdString();
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget))
        return edit->toPlainText().toStdString();
    if (auto* edit = qobject_cast<QTextEdit*>(widget)) return edit->toPlainText().toStdString();
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text().toStdString();
    if (auto* box = qobject_cast<QComboBox*>(widget)) return box->currentText().toStdString();
    return {};
}

void qtSetText(int id, const std::string& text) {
    QWidget* widget = controlWidget(id);
    QString value = QString::fromStdString(text);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->setText(value);
    else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) edit->setPlainText(value);
    else if (auto* edit = qobject_cast<QTextEdit*>(widget)) edit->setPlainText(value);
    else if (auto* label = qobject_cast<QLabel*>(widget)) label->setText(value);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget)) button->setText(value);
}

void qtSetFocus(int id) {
    if (QWidget* widget = controlWidget(id)) widget->setFocus(Qt::OtherFocusReason);
}

int qtIsEnabled(int id) {
    QWidget* widget = controlWidget(id);
    return widget && widget->isEnabled() ? 1 : 0;
}

void qtSetEnabled(int id, int enabled) {
    if (QWidget* widget = controlWidget(id)) widget->setEnabled(enabled != 0);
}

// Shown by its own state, whether or not its window is on the screen yet.
int qtIsVisible(int id) {
    QWidget* widget = controlWidget(id);
    return widget && !widget->isHidden() ? 1 : 0;
}

void qtSetVisible(int id, int visible) {
    if (QWidget* widget = controlWidget(id)) widget->setVisible(visible != 0);
}

// The registered control that holds the focus itself or through one of
// its parts (a combo box's edit, a list's viewport).
int qtFocusedControl() {
    for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget())
        for (const auto& [id, control] : controls)
            if (control.data() == widget) return id;
    return 0;
}

const WindowControlsHandler qtControls = {
    qtComboGetCurSel, qtComboSetCurSel, qtComboGetCount, qtComboGetItemText,
    qtComboAddString, qtComboDeleteString, qtIsChecked,  qtSetChecked,
    qtGetText,        qtSetText,          qtSetFocus,    qtIsEnabled,
    qtSetEnabled,     qtIsVisible,        qtSetVisible,  qtFocusedControl,
    qtComboInsertString,
};

} // namespace

void registerControl(int id, QWidget* widget) { controls[id] = widget; }

QWidget* controlWidget(int id) {
    auto it = controls.find(id);
    return it == controls.end() ? nullptr : it->second.data();
}

void installWindowControls() { setWindowControlsHandler(&qtControls); }
