// The main window as built: every control of the layout tables at its
// place with its class, text and state; the menus; the combo items; every
// command id with exactly one handler.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>

#include <set>

#include "main_window_support.h"
#include "foundation/globals.h"
#include "platform/command_ids.h"
#include "platform/status_bar.h"
#include "production/picture_effects.h"
#include "production/timing.h"
#include "ui/command_router.h"
#include "ui/control_registry.h"
#include "ui/main_window_contents.h"
#include "ui/main_window_tables.h"
#include "production/video_size_presets.h"
#include "ui/picture_list_widget.h"
#include "ui/status_bar.h"

using main_window_test::MainWindowTest;

namespace {

bool isKind(QWidget* widget, ControlKind kind) {
    switch (kind) {
    case ControlKind::GroupBox: return qobject_cast<QGroupBox*>(widget);
    case ControlKind::Panel: return widget && widget->metaObject() == &QWidget::staticMetaObject;
    case ControlKind::CheckBox: return qobject_cast<QCheckBox*>(widget);
    case ControlKind::Label: return qobject_cast<QLabel*>(widget);
    case ControlKind::ComboBox: return qobject_cast<QComboBox*>(widget);
    case ControlKind::LineEdit: return qobject_cast<QLineEdit*>(widget);
    case ControlKind::PushButton: return qobject_cast<QPushButton*>(widget);
    case ControlKind::Sample: return qobject_cast<QLabel*>(widget);
    }
    return false;
}

QString textOf(QWidget* widget) {
    if (auto* box = qobject_cast<QGroupBox*>(widget)) return box->title();
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
    return {};
}

// The control an entry describes: by id, or (labels) by text and place.
QWidget* find(const ControlEntry& entry, QWidget* window) {
    if (entry.id) return controlWidget(entry.id);
    QWidget* parent = entry.parent ? controlWidget(entry.parent) : window;
    for (QLabel* label : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (label->text() == QString::fromUtf8(entry.text) &&
            label->geometry() == QRect(entry.x, entry.y, entry.width, entry.height))
            return label;
    return nullptr;
}

std::vector<std::string> itemsOf(int id) {
    std::vector<std::string> items;
    auto* combo = controlAs<QComboBox>(id);
    for (int i = 0; i < combo->count(); ++i) items.push_back(combo->itemText(i).toStdString());
    return items;
}

// The menu's entries flattened as the table lists them.
void flatten(QMenu* menu, std::vector<MenuEntry>& out, std::vector<std::string>& texts) {
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            out.push_back({0, nullptr});
        } else if (action->menu()) {
            texts.push_back(action->text().toStdString());
            out.push_back({0, texts.back().c_str()});
            flatten(action->menu(), out, texts);
            out.push_back({-1, nullptr});
        } else {
            texts.push_back(action->text().toStdString());
            out.push_back({action->property(kCommandIdProperty).toInt(), texts.back().c_str()});
        }
    }
}

void expectMenu(QMenu* menu, const MenuEntry* table, int count) {
    std::vector<MenuEntry> seen;
    std::vector<std::string> texts;
    texts.reserve(64);
    flatten(menu, seen, texts);
    ASSERT_EQ(static_cast<int>(seen.size()), count);
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(seen[i].id, table[i].id) << i;
        EXPECT_EQ(std::string(seen[i].text ? seen[i].text : ""),
                  std::string(table[i].text ? table[i].text : ""))
            << i;
    }
}

} // namespace

class MainWindowLayout : public MainWindowTest {};

TEST_F(MainWindowLayout, EveryGroupControlSitsAtItsPlaceWithItsClassTextAndState) {
    EXPECT_EQ(window->width(), 919);
    EXPECT_EQ(window->height(), 508);
    for (int i = 0; i < kGroupControlCount; ++i) {
        const ControlEntry& entry = kGroupControls[i];
        SCOPED_TRACE(std::to_string(entry.id) + " " + (entry.text ? entry.text : ""));
        QWidget* control = find(entry, window);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(isKind(control, entry.kind));
        QWidget* parent = entry.parent ? controlWidget(entry.parent) : window;
        EXPECT_EQ(control->parentWidget(), parent);
        const int y = entry.y + (entry.scrolled ? 17 : 0);
        EXPECT_EQ(control->geometry(), QRect(entry.x, y, entry.width, entry.height));
        if (entry.text && entry.kind != ControlKind::Panel) {
            EXPECT_EQ(textOf(control).toStdString(), entry.text);
        }
        EXPECT_EQ(control->isEnabled(), entry.enabled);
        EXPECT_EQ(!control->isHidden(), entry.visible);
    }
    // The groups start where the list view's scroll bar leaves them.
    EXPECT_EQ(controlWidget(IDC_CAPTION_GROUP)->y(), 268);
    EXPECT_EQ(controlWidget(IDC_LOGO_GROUP)->y(), 347);
    EXPECT_EQ(controlWidget(IDC_OUTPUT_GROUP)->y(), 426);
}

TEST_F(MainWindowLayout, ToolbarButtonsInOrderWithTheirTextsAndStates) {
    int lastX = -1;
    for (int i = 0; i < kToolbarEntryCount; ++i) {
        const ToolbarEntry& entry = kToolbarEntries[i];
        if (entry.style == ToolStyle::Separator) continue;
        SCOPED_TRACE(entry.text);
        auto* button = controlAs<QToolButton>(entry.id);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text().toStdString(), entry.text);
        // The window is built without a support site: its pages' buttons are greyed.
        const bool webPage = entry.id == IDM_SUPPORT_SITE || entry.id == IDM_USER_GUIDE ||
                             entry.id == IDM_UPLOAD_VIDEO;
        EXPECT_EQ(button->isEnabled(), entry.enabled && !webPage);
        EXPECT_EQ(button->isHidden(), entry.hidden);
        EXPECT_EQ(button->isCheckable(), entry.style == ToolStyle::Check);
        EXPECT_FALSE(button->isChecked());
        EXPECT_GE(button->width(), kToolbarButtonMinWidth);
        EXPECT_LE(button->y() + button->height(), 62) << "above the list view";
        if (entry.hidden) continue;
        EXPECT_GT(button->x(), lastX) << "left to right in table order";
        lastX = button->x();
    }
    EXPECT_EQ(controlAs<QToolButton>(IDM_SETTINGS_MENU)->menu(), settingsMenu());
}

// The pointer was on the settings button when its menu dropped down and
// is elsewhere once the menu has closed: the button is drawn flat again.
TEST_F(MainWindowLayout, TheSettingsButtonIsFlatAgainOnceItsMenuCloses) {
    auto* button = controlAs<QToolButton>(IDM_SETTINGS_MENU);
    QCursor::setPos(window->mapToGlobal(QPoint(kMainClientWidth / 2, 150)));  // over the list
    button->setAttribute(Qt::WA_UnderMouse, true);
    emit settingsMenu()->aboutToHide();
    settle();
    EXPECT_FALSE(button->underMouse());
}

TEST_F(MainWindowLayout, ListViewWithItsHintPanelAndMarkers) {
    auto* list = controlAs<PictureListWidget>(IDC_PICTURE_LIST);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->geometry(), QRect(1, 62, 916, 190));
    QWidget* hint = controlWidget(IDC_EMPTY_LIST_HINT);
    EXPECT_EQ(hint->geometry(), QRect(341, 74, 233, 42));
    EXPECT_FALSE(hint->isHidden());
    QWidget* panel = controlWidget(IDC_HOVER_PANEL);
    EXPECT_EQ(panel->geometry(), QRect(0, 0, 144, 23));
    EXPECT_TRUE(panel->isHidden());
    QWidget* effects = controlWidget(IDC_ITEM_EFFECT);
    EXPECT_EQ(effects->parentWidget(), panel);
    EXPECT_EQ(effects->geometry(), QRect(0, 0, 144, 21));
    for (int slot = 0; slot < 60; ++slot) {
        QWidget* marker = list->captionMarker(slot);
        EXPECT_EQ(marker->size(), QSize(28, 16));
        EXPECT_TRUE(marker->isHidden());
        EXPECT_FALSE(marker->isEnabled());
        auto* text = marker->findChild<QLabel*>();
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->text().toStdString(), "文字");
    }
}

// Each status part's text starts at its part's left edge and stays within
// its right edge, however many parts come before it.
TEST_F(MainWindowLayout, StatusPartsStartAtTheirEdges) {
    const int edges[kStatusParts + 1] = {0, 130, 660, 790, 919};
    QStatusBar* bar = mainStatusBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->geometry(), QRect(0, 508, 919, bar->height()));
    for (int part = 0; part < kStatusParts; ++part) {
        const QString text = QString("part %1").arg(part);
        setStatusText(part, text.toStdString());
        QLabel* label = nullptr;
        for (QLabel* candidate : bar->findChildren<QLabel*>())
            if (candidate->text() == text) label = candidate;
        ASSERT_NE(label, nullptr) << part;
        const QRect at = label->geometry();
        EXPECT_GE(at.left(), edges[part]) << part;
        EXPECT_LE(at.left(), edges[part] + 4) << part;
        EXPECT_LE(at.right(), edges[part + 1]) << part;
        EXPECT_GE(at.right(), edges[part + 1] - 4) << part;
    }
}

TEST_F(MainWindowLayout, MenusHoldTheirItemsInOrder) {
    expectMenu(listContextMenu(), kListContextMenu, kListContextMenuCount);
    expectMenu(settingsMenu(), kSettingsMenu, kSettingsMenuCount);
}

TEST_F(MainWindowLayout, CombosHoldTheirTablesAndDefaults) {
    struct Combo {
        int id;
        std::vector<std::string> items;
        int selected;
    };
    std::vector<std::string> pauses(pauseEntryLabels, pauseEntryLabels + kPauseEntries);
    const Combo combos[] = {
        {IDC_CAPTION_POSITION,
         {"贴边   - 左侧上方", "贴边   - 左侧下方", "贴边   - 右侧上方", "贴边   - 右侧下方",
          "中间下方", "不贴边 - 左侧上方", "不贴边 - 左侧下方", "不贴边 - 右侧上方",
          "不贴边 - 右侧下方"},
         4},
        {IDC_LOGO_POSITION,
         {"不贴边 - 左侧上方", "不贴边 - 左侧下方", "不贴边 - 右侧上方", "不贴边 - 右侧下方",
          "贴边   - 左侧上方", "贴边   - 左侧下方", "贴边   - 右侧上方", "贴边   - 右侧下方"},
         2},
        {IDC_FONT_SIZE, {"12", "14", "16", "18", "20", "24", "28", "32", "36", "42", "48", "56", "64"}, 8},
        {IDC_CAPTION_COLOR,
         {"黑底白字", "黑底黄字", "黑底蓝字", "黑底绿字", "白底黑字", "白底蓝字", "白底绿字",
          "粉底白字", "白色", "黑色", "粉色", "蓝色", "黄色", "绿色"},
         0},
        {IDC_VIDEO_SIZE,
         {"", "     ( 400 x  400)", "     ( 480 x  480)", " 3:4 ( 540 x  720)",
          "     ( 640 x  640)", "     ( 720 x  720)", " 3:4 ( 720 x  960)",
          "     ( 750 x  750)", " 3:4 ( 750 x 1000)", "16:9 ( 800 x  450)",
          "     ( 800 x  800)", "16:9 (1024 x  576)", "16:9 (1280 x  720)",
          " 3:4 (1080 x 1440)", "自定义..."},
         0},
        {IDC_PAUSE_TIME, pauses, 0},
        {IDC_CAPTION_FONT, {"黑体", "楷体", "宋体", "微软雅黑", "幼圆", "阿里普惠体"}, 0},
    };
    for (const Combo& combo : combos) {
        EXPECT_EQ(itemsOf(combo.id), combo.items) << combo.id;
        EXPECT_EQ(controlAs<QComboBox>(combo.id)->currentIndex(), combo.selected) << combo.id;
    }
    std::vector<std::string> music = itemsOf(IDC_MUSIC);
    ASSERT_GE(music.size(), 2u);
    EXPECT_EQ(music.front(), "");
    EXPECT_EQ(music.back(), "选择本地背景音乐...");
    // Every preset's text names its size.
    for (int i = 1; i <= kLastVideoSizePreset; ++i) {
        char size[32];
        std::snprintf(size, sizeof size, "(%4d x %4d)", videoSizePresetWidths[i],
                      videoSizePresetHeights[i]);
        EXPECT_NE(std::string(kVideoSizeTexts[i]).find(size), std::string::npos) << i;
        EXPECT_EQ(std::string(kVideoSizeTexts[i]).size(), 18u) << i;
    }
}

// Rows of the open list that can be seen from top to bottom.
int rowsSeen(QComboBox* combo) {
    combo->showPopup();
    QCoreApplication::processEvents();
    QAbstractItemView* view = combo->view();
    const QRect area = view->viewport()->rect();
    int rows = 0;
    for (int i = 0; i < combo->count(); ++i) {
        const QRect row = view->visualRect(combo->model()->index(i, 0));
        if (row.top() >= area.top() && row.bottom() <= area.bottom()) ++rows;
    }
    combo->hidePopup();
    return rows;
}

TEST_F(MainWindowLayout, OpenListsShowTheirVisibleRowCounts) {
    const struct {
        int id, visible;
    } cases[] = {{IDC_ITEM_EFFECT, effectComboVisibleCount}, {IDC_PAUSE_TIME, 35}, {IDC_MUSIC, 35}};
    for (const auto& c : cases) {
        auto* combo = controlAs<QComboBox>(c.id);
        EXPECT_EQ(rowsSeen(combo), std::min(combo->count(), c.visible)) << c.id;
    }
}

// The blank-padded texts of the size and position combos form columns.
TEST_F(MainWindowLayout, PaddedItemTextsLineUp) {
    const QFontMetrics metrics(controlAs<QComboBox>(IDC_VIDEO_SIZE)->font());
    auto width = [&](const char* text) { return metrics.horizontalAdvance(QString::fromUtf8(text)); };
    for (int i = 2; i <= kLastVideoSizePreset; ++i)
        EXPECT_EQ(width(kVideoSizeTexts[i]), width(kVideoSizeTexts[1])) << kVideoSizeTexts[i];
    EXPECT_EQ(width("贴边   - "), width("不贴边 - "));
}

TEST_F(MainWindowLayout, EffectComboListsEveryEffectOnceInItsGroups) {
    std::vector<std::string> items = itemsOf(IDC_ITEM_EFFECT);
    ASSERT_EQ(items.size(), 122u);
    EXPECT_EQ(items[0], "无动画");
    std::set<int> effects;
    int separators = 0;
    for (std::size_t i = 1; i < items.size(); ++i) {
        if (items[i] == "--------------------") {
            ++separators;
            continue;
        }
        int index = effectIndexByName(items[i]);
        EXPECT_NE(index, 99) << items[i] << " is an effect's name";
        effects.insert(index);
    }
    EXPECT_EQ(separators, 24);
    EXPECT_EQ(effects.size(), 97u);
    EXPECT_EQ(items[1], "--------------------");
}

TEST_F(MainWindowLayout, EveryCommandIdReachesOneHandler) {
    std::vector<int> ids = {
        IDM_ADD_PICTURES, IDM_LOAD_ITEM_PICTURES, IDM_REMOVE_PICTURES, IDM_MOVE_LEFT,
        IDM_MOVE_RIGHT, IDM_PREVIEW_VIDEO, IDM_MAKE_VIDEO, IDM_DESKTOP_SHORTCUT,
        IDM_SUPPORT_SITE, IDM_ABOUT, IDM_USER_GUIDE, IDM_UPLOAD_VIDEO, IDM_GIF_MODE,
        IDM_SETTINGS_MENU, IDM_SAVE_VIDEO_SETTINGS, IDM_LOAD_VIDEO_SETTINGS,
        IDM_SAVE_ANIMATION_SETTINGS, IDM_LOAD_ANIMATION_SETTINGS, IDM_CAPTION_MARGINS,
        IDC_CAPTION_CHECK, IDC_CAPTION_CHECK2, IDC_CAPTION_POSITION, IDC_CAPTION_FONT,
        IDC_CAPTION_COLOR, IDC_CAPTION_TEXT, IDC_CAPTION_HELP, IDC_LOGO_CHECK, IDC_LOGO_CHOOSE,
        IDC_LOGO_DOWNLOAD, IDC_LOGO_HELP, IDC_VIDEO_SIZE, IDC_PAUSE_TIME, IDC_MUSIC,
        IDC_MUSIC_NEXT, IDC_MUSIC_AUDITION, IDC_MAKE_VIDEO, IDC_ITEM_EFFECT};
    for (int id = IDM_CTX_ADD_PICTURES; id <= IDM_CTX_LOAD_ITEM_PICTURES; ++id) ids.push_back(id);
    for (int id = IDM_RECENT_ANIMATION_FIRST; id <= IDM_RECENT_ANIMATION_LAST; ++id) ids.push_back(id);
    for (int id = IDM_RECENT_VIDEO_FIRST; id <= IDM_RECENT_VIDEO_LAST; ++id) ids.push_back(id);
    for (int id = IDM_FILE_NAME_BLANK; id <= IDM_BG_FILL_BLACK; ++id) ids.push_back(id);
    for (int id = IDM_PREVIEW_MUSIC_PLAY; id <= IDM_PREVIEW_MUSIC_CLOSE; ++id) ids.push_back(id);
    for (int id : ids) EXPECT_TRUE(hasCommandHandler(id)) << id;
    // Read where they are used, never commands: the font size and logo position.
    EXPECT_FALSE(hasCommandHandler(IDC_FONT_SIZE));
    EXPECT_FALSE(hasCommandHandler(IDC_LOGO_POSITION));
    EXPECT_FALSE(hasCommandHandler(35614));
}
