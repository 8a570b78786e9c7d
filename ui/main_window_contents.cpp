// The main window's contents, built once: the settings menu, the toolbar,
// the picture list view, the caption, logo and output groups with their
// controls and combo items, the list's context menu, and the hidden windows
// the main window owns. Everything is placed at the fixed positions of
// ui/main_window_tables.h and registered under its id.
#include "ui/main_window_contents.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QValidator>
#include <map>

#include "foundation/charset.h"
#include "foundation/globals.h"
#include "platform/command_ids.h"
#include "production/background_music.h"
#include "production/caption_markers.h"
#include "production/settings_files.h"
#include "production/timing.h"
#include "render/font_map.h"
#include "ui/caption_sample_colors.h"
#include "ui/command_router.h"
#include "ui/control_registry.h"
#include "ui/group_box.h"
#include "ui/info_window.h"
#include "ui/kit/default_font.h"
#include "ui/main_commands.h"
#include "ui/main_toolbar.h"
#include "ui/main_window.h"
#include "ui/main_window_tables.h"
#include "ui/toolbar_tooltips.h"
#include "ui/picture_list_widget.h"
#include "ui/preview_window.h"
#include "ui/progress_window.h"
#include "ui/settings_menu_dropdown.h"
#include "ui/status_bar.h"

namespace {

QPointer<QMenu> theSettingsMenu;
QPointer<QMenu> theContextMenu;

constexpr int kMusicVisibleItems = 35;
constexpr int kCaptionEditLimit = 63;

QString text(const char* utf8) { return QString::fromUtf8(utf8); }

// Menu items from a table; sub-menus run up to their closing entry.
int addMenuEntries(QMenu* menu, const MenuEntry* entries, int count, int from) {
    int i = from;
    while (i < count) {
        const MenuEntry& entry = entries[i++];
        if (entry.id == -1) break;
        if (entry.id == 0 && !entry.text) {
            menu->addSeparator();
        } else if (entry.id == 0) {
            QMenu* sub = menu->addMenu(text(entry.text));
            i = addMenuEntries(sub, entries, count, i);
        } else {
            bindCommand(menu->addAction(text(entry.text)), entry.id);
        }
    }
    return i;
}

QMenu* buildMenu(QWidget* owner, const MenuEntry* entries, int count) {
    auto* menu = new QMenu(owner);
    addMenuEntries(menu, entries, count, 0);
    return menu;
}

// Refuses text longer than a number of GBK bytes (1 per ASCII character, 2
// per other one), the measure the edit's limit is given in.
class GbkLengthValidator : public QValidator {
public:
    GbkLengthValidator(int maxLength, QObject* parent) : QValidator(parent), max_(maxLength) {}
    State validate(QString& input, int&) const override {
        return gbk_length(input.toUtf8().constData()) <= max_ ? Acceptable : Invalid;
    }

private:
    int max_;
};

// A label's enabled state follows the control it names.
class FollowEnabled : public QObject {
public:
    FollowEnabled(QWidget* follower, QWidget* leader) : QObject(follower), follower_(follower) {
        leader->installEventFilter(this);
        follower->setEnabled(leader->isEnabled());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::EnabledChange)
            follower_->setEnabled(static_cast<QWidget*>(watched)->isEnabled());
        return false;
    }

private:
    QWidget* follower_;
};

QWidget* makeControl(const ControlEntry& entry, QWidget* parent) {
    const QString label = entry.text ? text(entry.text) : QString();
    switch (entry.kind) {
    case ControlKind::GroupBox: return new GroupBox(label, parent);
    case ControlKind::Panel: return new QWidget(parent);
    case ControlKind::CheckBox: {
        // A check box on a group's top edge hides the edge behind it.
        auto* box = new QCheckBox(label, parent);
        box->setAutoFillBackground(true);
        return box;
    }
    case ControlKind::Label: return new QLabel(label, parent);
    case ControlKind::ComboBox: return new QComboBox(parent);
    case ControlKind::LineEdit: return new QLineEdit(label, parent);
    case ControlKind::PushButton: return new QPushButton(label, parent);
    case ControlKind::Sample: {
        auto* sample = new QLabel(label, parent);
        sample->setAlignment(Qt::AlignCenter);
        keepCaptionSampleColored(sample);
        return sample;
    }
    }
    return nullptr;
}

void fillCombo(int id, const char* const* items, int count, int selected) {
    auto* combo = controlAs<QComboBox>(id);
    for (int i = 0; i < count; ++i) combo->addItem(text(items[i]));
    combo->setCurrentIndex(selected);
}

void fillCombos() {
    fillCombo(IDC_CAPTION_POSITION, kCaptionPositions, 9, kDefaultCaptionPosition);
    fillCombo(IDC_LOGO_POSITION, kLogoPositions, 8, kDefaultLogoPosition);
    fillCombo(IDC_FONT_SIZE, kFontSizes, 13, kDefaultFontSize);
    fillCombo(IDC_CAPTION_COLOR, kCaptionColors, 14, 0);
    fillCombo(IDC_VIDEO_SIZE, kVideoSizeTexts, kVideoSizeItems, 0);
    fillCombo(IDC_PAUSE_TIME, pauseEntryLabels, kPauseEntries, 0);
    auto* captionEdit = controlAs<QLineEdit>(IDC_CAPTION_TEXT);
    captionEdit->setValidator(new GbkLengthValidator(kCaptionEditLimit, captionEdit));
    controlAs<QLineEdit>(IDC_LOGO_PATH)->setReadOnly(true);
}

// The labels of the caption and logo groups follow their group's state.
void followGroups() {
    QWidget* captionLeader = controlWidget(IDC_CAPTION_FONT);
    QWidget* logoLeader = controlWidget(IDC_LOGO_POSITION);
    for (int i = 0; i < kGroupControlCount; ++i) {
        const ControlEntry& entry = kGroupControls[i];
        if (entry.kind != ControlKind::Label || entry.parent == IDC_OUTPUT_PANEL) continue;
        for (QObject* child : controlWidget(entry.parent)->children()) {
            auto* label = qobject_cast<QLabel*>(child);
            if (label && label->text() == text(entry.text) &&
                label->geometry() == QRect(entry.x, entry.y, entry.width, entry.height))
                new FollowEnabled(label, entry.parent == IDC_CAPTION_PANEL ? captionLeader
                                                                           : logoLeader);
        }
    }
}

void createGroups(QWidget* window) {
    for (int i = 0; i < kGroupControlCount; ++i) {
        const ControlEntry& entry = kGroupControls[i];
        QWidget* parent = entry.parent ? controlWidget(entry.parent) : window;
        QWidget* control = makeControl(entry, parent);
        control->setGeometry(entry.x, entry.y + (entry.scrolled ? kScrollBarExtent : 0),
                             entry.width, entry.height);
        control->setVisible(entry.visible);
        if (entry.id) registerControl(entry.id, control);
    }
    // The audition and make-video buttons wait for music and pictures.
    controlWidget(IDC_MUSIC_AUDITION)->setEnabled(false);
    controlWidget(IDC_MAKE_VIDEO)->setEnabled(false);
}

void bindGroupCommands() {
    for (int i = 0; i < kGroupControlCount; ++i) {
        const ControlEntry& entry = kGroupControls[i];
        QWidget* control = controlWidget(entry.id);
        if (!entry.id || !control) continue;
        if (auto* combo = qobject_cast<QComboBox*>(control)) bindCommand(combo, entry.id);
        else if (auto* edit = qobject_cast<QLineEdit*>(control)) bindCommand(edit, entry.id);
        else if (auto* button = qobject_cast<QAbstractButton*>(control)) bindCommand(button, entry.id);
    }
}

// The face a caption font shows in the sample: the family of the file the
// captions are drawn with, so the sample looks like the video.
QString sampleFace(const std::string& displayName) {
    static std::map<std::string, QString> faces;
    auto known = faces.find(displayName);
    if (known != faces.end()) return known->second;
    QString face = text(displayName == "阿里普惠体" ? "阿里巴巴普惠体" : displayName.c_str());
    std::string path = captionFontPath(displayName);
    if (!path.empty()) {
        int id = QFontDatabase::addApplicationFont(QString::fromStdString(path));
        QStringList families = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList();
        if (!families.isEmpty()) face = families.first();
    }
    faces[displayName] = face;
    return face;
}

void fillFonts() {
    auto* combo = controlAs<QComboBox>(IDC_CAPTION_FONT);
    for (const std::string& name : buildFontMap()) {
        combo->addItem(QString::fromStdString(name));
        if (combo->count() == 1) combo->setCurrentIndex(0);
    }
    if (combo->count() > 0) showCaptionSampleFont(combo->currentText().toStdString());
}

// The combo's list drops down below it and shows at most count rows. A
// popup-style list (Fusion's) ignores the count and may fill the screen;
// the style sheet asks for the drop-down list instead.
void setVisibleItems(QComboBox* combo, int count) {
    combo->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    combo->setMaxVisibleItems(count);
}

// The music combo and musicPathList beside it, with long drop-down lists
// for the music and pause combos.
void fillMusic() {
    buildMusicList();
    setVisibleItems(controlAs<QComboBox>(IDC_MUSIC), kMusicVisibleItems);
    setVisibleItems(controlAs<QComboBox>(IDC_PAUSE_TIME), kMusicVisibleItems);
}

// The effect combo's drop-down list is wide enough for the longest name.
void sizeEffectCombo() {
    QComboBox* combo = controlAs<QComboBox>(IDC_ITEM_EFFECT);
    const int visible = effectComboVisibleCount;
    int width = QFontMetrics(sharedDefaultFont()).horizontalAdvance(text(kWidestEffectName)) + 6;
    if (combo->count() > visible) width += kScrollBarExtent;
    if (width > combo->width()) combo->view()->setMinimumWidth(width);
    setVisibleItems(combo, visible);
}

// The settings menu's check marks follow the preferences from the start,
// and everything in it is brought up to date each time it drops down.
void prepareSettingsMenuOnDropDown(QMenu* menu) {
    auto prepare = [menu] {
        prepareSettingsMenu(menu, recentSettingsFiles("*.dh", kRecentSettingsFiles),
                            recentSettingsFiles("*.sz", kRecentSettingsFiles));
    };
    prepare();
    QObject::connect(menu, &QMenu::aboutToShow, menu, prepare);
}

// The toolbar's web buttons open pages of the support site: greyed when
// there is none.
void greyWebButtonsWithoutSite() {
    if (hasSupportSite()) return;
    for (int id : {IDM_SUPPORT_SITE, IDM_USER_GUIDE, IDM_UPLOAD_VIDEO}) controlWidget(id)->setEnabled(false);
}

void createMainWindowControls(MainWindow* window) {
    createMainToolbar(window, theSettingsMenu);
    greyWebButtonsWithoutSite();
    applyToolbarTooltips(window);
    PictureListWidget* list = createPictureListWidget(window);
    createGroups(window);
    fillCombos();
    theContextMenu = buildMenu(window, kListContextMenu, kListContextMenuCount);
    list->setContextMenu(theContextMenu);
    createStatusBar(window);
}

} // namespace

QMenu* settingsMenu() { return theSettingsMenu; }
QMenu* listContextMenu() { return theContextMenu; }

void showCaptionSampleFont(const std::string& displayName) {
    if (QWidget* sample = controlWidget(IDC_CAPTION_SAMPLE))
        setControlFont(sample, sampleFace(displayName), 0, 400, false, false);
}

void createMainWindowContents(MainWindow* window) {
    window->setFixedSize(kMainClientWidth, kMainClientHeight);
    theSettingsMenu = buildMenu(window, kSettingsMenu, kSettingsMenuCount);
    prepareSettingsMenuOnDropDown(theSettingsMenu);
    createMainWindowControls(window);
    createInfoWindow(window);
    createProgressDialog(window);
    createPreviewWindow(window);
    setDefaultFontOnChildren(window);
    fillFonts();
    fillMusic();
    sizeEffectCombo();
    followGroups();
    enableCaptionControls();
    enableLogoControls();
    bindGroupCommands();
    registerMainCommands();
}
