// What createMainWindowContents builds besides the controls registered by
// id: the two pop-up menus. Their items carry their command ids in data().
#pragma once

class QMenu;

// The toolbar's "软件设置" drop-down menu.
QMenu* settingsMenu();
// The picture list's context menu.
QMenu* listContextMenu();
