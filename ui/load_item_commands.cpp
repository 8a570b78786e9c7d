#include "ui/load_item_commands.h"

#include <QAction>
#include <QApplication>
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

// While an import runs the windows take no input but Escape, which stops
// it: the picture list must not change under the import.
class ImportInputFilter : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) stopItemImport();
            return true;
        case QEvent::Shortcut:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return true;
        default:
            return event->isInputEvent();
        }
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
