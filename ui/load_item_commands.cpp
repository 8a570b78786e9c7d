#include "ui/load_item_commands.h"

#include <QAction>
#include <QWidget>

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

const LoadItemCommandsHandler qtHandler = {qtHideLoadItemCommands, qtShowBrowserExtensionLink};

} // namespace

void installLoadItemCommands() { setLoadItemCommandsHandler(&qtHandler); }
