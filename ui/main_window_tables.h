// The main window's fixed tables: the toolbar's buttons, every control of
// the three groups with its place and text, the list's context menu, the
// settings menu, and the items of every combo box. The window is built from
// them, and the layout test walks them against the created widgets.
#pragma once

// Height of a horizontal scroll bar: the list view's height and the groups'
// places below it are measured with it.
constexpr int kScrollBarExtent = 17;

// ---- Toolbar ----
enum class ToolStyle { Button, Separator, Check, Dropdown };

struct ToolbarEntry {
    int id;              // 0 for a separator
    const char* text;
    ToolStyle style;
    bool enabled;
    bool hidden;
};
extern const ToolbarEntry kToolbarEntries[];
extern const int kToolbarEntryCount;

constexpr int kToolbarButtonMinWidth = 60;
constexpr int kToolbarButtonMaxWidth = 64;
constexpr int kToolbarHeight = 60;

// ---- Controls ----
// The window's own controls and those of the group panels. Positions are in
// the parent's client coordinates; y adds kScrollBarExtent when scrolled is
// set (the list view and the groups below it).
enum class ControlKind { GroupBox, Panel, CheckBox, Label, ComboBox, LineEdit, PushButton, Sample };

struct ControlEntry {
    int id;             // 0 for the labels, which have none
    int parent;         // a panel id, or 0 for the main window
    ControlKind kind;
    const char* text;
    int x, y, width, height;
    bool scrolled;
    bool enabled;       // as created (the caption and logo groups are then disabled as a whole)
    bool visible;
};
extern const ControlEntry kGroupControls[];
extern const int kGroupControlCount;

// The list view, its hover panel and effect combo, the empty-list hint and
// the caption markers inside it.
struct ListGeometry {
    int x, y, width, height;  // height adds kScrollBarExtent
};
constexpr ListGeometry kPictureListGeometry = {1, 62, 916, 173};
constexpr int kHoverPanelHeight = 23;
constexpr int kEffectComboHeight = 21;
constexpr int kEmptyHintWidth = 233;
constexpr int kEmptyHintHeight = 42;
constexpr int kEmptyHintX = 341;
constexpr int kMarkerWidth = 28;
constexpr int kMarkerHeight = 16;

// ---- Menus ----
// An entry with id 0 and no text is a separator; with id 0 and a text, a
// sub-menu whose entries follow up to the entry with id -1.
struct MenuEntry {
    int id;
    const char* text;
};
extern const MenuEntry kListContextMenu[];
extern const int kListContextMenuCount;
extern const MenuEntry kSettingsMenu[];
extern const int kSettingsMenuCount;

// ---- Combo box items ----
extern const char* const kCaptionPositions[9];
constexpr int kDefaultCaptionPosition = 4;
extern const char* const kLogoPositions[8];
constexpr int kDefaultLogoPosition = 2;
extern const char* const kFontSizes[13];
constexpr int kDefaultFontSize = 8;     // "36"
extern const char* const kCaptionColors[14];

// Video size combo: 0 the empty entry (400 x 400), 1 to 13 the presets,
// 14 "自定义...".
constexpr int kVideoSizeItems = 15;
constexpr int kLastVideoSizePreset = 13;
// Their sizes: production/video_size_presets.h.
extern const char* const kVideoSizeTexts[kVideoSizeItems];

// The per-picture effect combo: "无动画", then 24 groups of effect names,
// each after a separator item.
extern const char* const EFFECT_COMBO_SEPARATOR;
extern const char* const* const kEffectGroups[24];
constexpr int kEffectGroupCount = 24;
constexpr int kEffectComboItems = 122;
// The text whose width sizes the effect combo's drop-down list.
extern const char* const kWidestEffectName;
