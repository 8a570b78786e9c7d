// The settings menu as it drops down from the toolbar: its check marks
// follow the preferences, and the recent settings files are listed anew
// each time ("加载 - name", at most five of each kind, the last used
// first): effect lists (.dh) after "加载图片动画设置...", disabled while
// the picture list is empty or GIF mode is on (as are the two effect-list
// commands), video settings (.sz) at the end, always enabled.
#pragma once

#include <string>
#include <vector>

class QMenu;

constexpr int kRecentSettingsFiles = 5;

// Prepares menu, whose items carry their command ids (bindCommand); the
// names are the recent files, last used first.
void prepareSettingsMenu(QMenu* menu, const std::vector<std::string>& effectListNames,
                         const std::vector<std::string>& videoSettingsNames);
