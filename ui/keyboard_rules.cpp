#include "ui/keyboard_rules.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTextEdit>

#include "platform/command_ids.h"
#include "platform/main_command.h"
#include "platform/picture_list_view.h"
#include "production/picture_list.h"
#include "production/picture_selection.h"
#include "ui/control_registry.h"
#include "ui/info_window.h"
#include "ui/main_window.h"

namespace {

// The control a widget belongs to: a scroll area's viewport stands for the
// scroll area.
QWidget* owningControl(QWidget* widget) {
    auto* area = widget ? qobject_cast<QAbstractScrollArea*>(widget->parentWidget()) : nullptr;
    return area && area->viewport() == widget ? area : widget;
}

QAbstractItemView* pictureListView() { return controlAs<QAbstractItemView>(IDC_PICTURE_LIST); }

// Every picture row becomes selected.
void selectAllPictures() {
    for (int row = 0; row < listRowCount(); ++row) setListRowState(row, ROW_SELECTED, ROW_SELECTED);
}

void selectAllText(QWidget* edit) {
    if (auto* line = qobject_cast<QLineEdit*>(edit)) line->selectAll();
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(edit)) plain->selectAll();
    else if (auto* rich = qobject_cast<QTextEdit*>(edit)) rich->selectAll();
    else if (auto* spin = qobject_cast<QAbstractSpinBox*>(edit)) spin->selectAll();
    else if (auto* combo = qobject_cast<QComboBox*>(edit); combo && combo->lineEdit())
        combo->lineEdit()->selectAll();
}

bool actsOnPictures(ControlClass kind) {
    return kind == ControlClass::Button || kind == ControlClass::ComboBox ||
           kind == ControlClass::MainWindow;
}

// Modal windows run their own loop, which these rules stay out of; so do
// the windows that disable the main window while they run (the preview).
bool rulesPaused() {
    MainWindow* main = mainWindow();
    return QApplication::activeModalWidget() || QApplication::activePopupWidget() ||
           (main && !main->isEnabled());
}

bool onAccelerator(const QKeyEvent* key) {
    Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_D && modifiers == Qt::ControlModifier) {
        sendMainCommand(IDM_REMOVE_ALL, CBN_SELCHANGE);
        return true;
    }
    if (key->key() == Qt::Key_F5 && modifiers == Qt::NoModifier) {
        sendMainCommand(IDM_PREVIEW_PICTURE, CBN_SELCHANGE);
        return true;
    }
    return false;
}

bool onSelectAll(QWidget* target) {
    QWidget* control = owningControl(target);
    switch (controlClassOf(control)) {
    case ControlClass::Edit:
        selectAllText(control);
        return true;
    case ControlClass::ListView:
        qobject_cast<QAbstractItemView*>(control)->selectAll();
        return true;
    case ControlClass::Button:
    case ControlClass::ComboBox:
    case ControlClass::MainWindow:
        selectAllPictures();
        return true;
    default:
        return false;
    }
}

bool onDelete(QWidget* target) {
    QWidget* control = owningControl(target);
    bool onList = control && control == pictureListView();
    if (selectedRowCount() < 1 || !(onList || actsOnPictures(controlClassOf(control))))
        return false;
    removeSelectedPictures();
    return true;
}

bool onKeyPress(QWidget* target, const QKeyEvent* key) {
    if (onAccelerator(key)) return true;
    Qt::KeyboardModifiers modifiers = key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    if (key->key() == Qt::Key_A && modifiers == Qt::ControlModifier) return onSelectAll(target);
    if (key->key() == Qt::Key_Delete) return onDelete(target);
    if (key->key() == Qt::Key_F2) {
        toggleInfoWindow();
        return true;
    }
    return false;
}

void onClick(QWidget* target) {
    QWidget* control = owningControl(target);
    ControlClass kind = controlClassOf(control);
    if (control == mainWindow() || control == controlWidget(IDC_OUTPUT_PANEL) ||
        kind == ControlClass::Static || kind == ControlClass::StatusBar)
        return;
    control->setFocus(Qt::MouseFocusReason);
    QWidget* focus = QApplication::focusWidget();
    if (focus != controlWidget(IDC_ITEM_EFFECT) && focus != pictureListView()) {
        if (QWidget* panel = controlWidget(IDC_HOVER_PANEL)) panel->hide();
    }
}

class KeyboardRules : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) return keyPress(watched, static_cast<QKeyEvent*>(event));
        if (event->type() == QEvent::MouseButtonPress) mousePress(watched, static_cast<QMouseEvent*>(event));
        return false;
    }

private:
    // A key goes to the focus widget first and then, unhandled, to its
    // parents: only its first receiver counts.
    bool keyPress(QObject* watched, QKeyEvent* key) {
        auto* target = qobject_cast<QWidget*>(watched);
        if (!target || rulesPaused()) return false;
        QWidget* first = QApplication::focusWidget();
        if (!first) first = QApplication::activeWindow();
        if (target != first) return false;
        return onKeyPress(target, key);
    }

    // A press also travels up to the parents of the widget under the
    // cursor; they see the same time and place, which mark it as seen.
    void mousePress(QObject* watched, QMouseEvent* press) {
        auto* target = qobject_cast<QWidget*>(watched);
        if (!target || press->button() != Qt::LeftButton || rulesPaused()) return;
        if (!target->isVisible()) return;
        if (press->timestamp() == lastTime_ && press->globalPosition() == lastPlace_) return;
        lastTime_ = press->timestamp();
        lastPlace_ = press->globalPosition();
        onClick(target);
    }

    quint64 lastTime_ = ~quint64{0};
    QPointF lastPlace_;
};

} // namespace

ControlClass controlClassOf(QWidget* widget) {
    if (!widget) return ControlClass::Other;
    if (widget == mainWindow() || (widget == infoWindow() && widget)) return ControlClass::MainWindow;
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->isEditable() ? ControlClass::Edit : ControlClass::ComboBox;
    if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QPlainTextEdit*>(widget) ||
        qobject_cast<QTextEdit*>(widget) || qobject_cast<QAbstractSpinBox*>(widget))
        return ControlClass::Edit;
    if (qobject_cast<QAbstractItemView*>(widget)) return ControlClass::ListView;
    if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QGroupBox*>(widget))
        return ControlClass::Button;
    if (qobject_cast<QStatusBar*>(widget)) return ControlClass::StatusBar;
    if (qobject_cast<QLabel*>(widget)) return ControlClass::Static;
    // Panels: plain widgets and frames that hold controls.
    if (!widget->isWindow() && (widget->metaObject() == &QWidget::staticMetaObject ||
                                widget->metaObject() == &QFrame::staticMetaObject))
        return ControlClass::Static;
    return ControlClass::Other;
}

void installKeyboardRules() {
    static KeyboardRules* rules = nullptr;
    if (rules) return;
    rules = new KeyboardRules(qApp);
    qApp->installEventFilter(rules);
}
