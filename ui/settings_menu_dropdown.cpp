#include "ui/settings_menu_dropdown.h"

#include <QAction>
#include <QMenu>

#include "foundation/globals.h"
#include "platform/command_ids.h"
#include "platform/window_controls.h"
#include "production/picture_list.h"
#include "ui/command_router.h"

namespace {

constexpr char kRecentPrefix[] = "加载 - ";
constexpr int kEffectListSeparatorPosition = 10;

void setChecked(QMenu* menu, int id, bool checked) {
    for (QAction* action : commandActions(menu, id)) {
        action->setCheckable(true);
        action->setChecked(checked);
    }
}

void setEnabled(QMenu* menu, int id, bool enabled) {
    for (QAction* action : commandActions(menu, id)) action->setEnabled(enabled);
}

void markPreferences(QMenu* menu) {
    setChecked(menu, IDM_BG_FILL_BLACK, videoBgFillColor == 1);
    setChecked(menu, IDM_BG_FILL_WHITE, videoBgFillColor != 1);
    setChecked(menu, IDM_FILE_NAME_TIME, mp4DefaultFileName == 1);
    setChecked(menu, IDM_FILE_NAME_FIRST_PICTURE, mp4DefaultFileName == 2);
    setChecked(menu, IDM_FILE_NAME_BLANK, mp4DefaultFileName != 1 && mp4DefaultFileName != 2);
    for (int preset = 0; preset <= 3; ++preset)
        setChecked(menu, IDM_BITRATE_DEFAULT + preset, mp4VideoBitrate == preset);
}

// The entries of the last drop-down go: recent files, and the separators
// from position 11 on (the one at 10 stays, before the video settings).
void removeRecentEntries(QMenu* menu) {
    QList<QAction*> actions = menu->actions();
    for (qsizetype position = actions.size() - 1; position >= 1; --position) {
        QAction* action = actions[position];
        bool recent = action->text().startsWith(QString::fromUtf8(kRecentPrefix));
        bool lateSeparator = action->isSeparator() && position > kEffectListSeparatorPosition;
        if (recent || lateSeparator) {
            menu->removeAction(action);
            delete action;
        }
    }
}

QAction* recentEntry(QMenu* menu, const std::string& name, int id) {
    auto* action = new QAction(QString::fromUtf8(kRecentPrefix) + QString::fromStdString(name), menu);
    bindCommand(action, id);
    return action;
}

void listEffectLists(QMenu* menu, const std::vector<std::string>& names, bool usable) {
    if (names.empty()) return;
    QList<QAction*> actions = menu->actions();
    QAction* before = actions.value(kEffectListSeparatorPosition, nullptr);
    menu->insertSeparator(before);
    for (int i = 0; i < kRecentSettingsFiles && i < static_cast<int>(names.size()); ++i) {
        QAction* entry = recentEntry(menu, names[i], IDM_RECENT_ANIMATION_FIRST + i);
        entry->setEnabled(usable);
        menu->insertAction(before, entry);
    }
}

void listVideoSettings(QMenu* menu, const std::vector<std::string>& names) {
    if (names.empty()) return;
    menu->addSeparator();
    for (int i = 0; i < kRecentSettingsFiles && i < static_cast<int>(names.size()); ++i)
        menu->addAction(recentEntry(menu, names[i], IDM_RECENT_VIDEO_FIRST + i));
}

} // namespace

void prepareSettingsMenu(QMenu* menu, const std::vector<std::string>& effectListNames,
                         const std::vector<std::string>& videoSettingsNames) {
    bool usable = pictureListSize() > 0 && !isChecked(IDM_GIF_MODE);
    markPreferences(menu);
    removeRecentEntries(menu);
    listEffectLists(menu, effectListNames, usable);
    listVideoSettings(menu, videoSettingsNames);
    setEnabled(menu, IDM_SAVE_ANIMATION_SETTINGS, usable);
    setEnabled(menu, IDM_LOAD_ANIMATION_SETTINGS, usable);
}
