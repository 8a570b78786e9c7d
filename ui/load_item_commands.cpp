#include "ui/load_item_commands.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QWidget>

#include "net/import/import_stop.h"
#include "platform/command_ids.h"
#include "platform/load_item_commands.h"
#include "ui/command_router.h"
#include "ui/control_registry.h"
#include "ui/load_item_dialog.h"
#include "ui/main_window.h"

namespace {

// The toolbar button goes out of sight; the list menu loses its entry.
void qtHideLoadItemCommands() {
    if (QWidget* button = controlWidget(IDM_LOAD_ITEM_PICTURES)) button->hide();
    for (int id : {IDM_LOAD_ITEM_PICTURES, IDM_CTX_LOAD_ITEM_PICTURES})
        for (QAction* action : commandActions(mainWindow(), id)) action->setVisible(false);
}

void qtShowBrowserExtensionLink() { showLoadItemDialogLink(); }

// Whether receiver is the main window, one of its controls or actions, or
// a window it owns (the information window, the preview); a dialog or box
// is not, even one the main window owns.
bool isMainWindowPart(QObject* receiver) {
    QWidget* main = mainWindow();
    for (QObject* object = receiver; main && object; object = object->parent()) {
        if (object == main) return true;
        if (qobject_cast<QDialog*>(object)) return false;
    }
    return false;
}

// The input an import holds back from the main window: keys, pointer and
// wheel (the input events), text an input method commits, shortcuts and
// drops.
bool isHeldInput(const QEvent* event) {
    switch (event->type()) {
    case QEvent::InputMethod:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return event->isInputEvent();
    }
}

// While an import runs the main window takes no input but Escape, which
// stops it: the picture list must not change under the import. A box or
// dialog opened meanwhile (a queued call's notice or question) answers as
// usual, or the import would wait behind it for ever.
class ImportInputFilter : public QObject {
protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (!isHeldInput(event) || !isMainWindowPart(receiver)) return false;
        const QEvent::Type type = event->type();
        if ((type == QEvent::KeyPress || type == QEvent::ShortcutOverride) &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            stopItemImport();
        return true;
    }
};

void qtWhileImporting() {
    ImportInputFilter filter;
    qApp->installEventFilter(&filter);
    QCoreApplication::processEvents();
    qApp->removeEventFilter(&filter);
}

const LoadItemCommandsHandler qtHandler = {qtHideLoadItemCommands, qtShowBrowserExtensionLink, qtWhileImporting};

} // namespace

void installLoadItemCommands() { setLoadItemCommandsHandler(&qtHandler); }
