#include "ui/main_window_tables.h"

#include "platform/command_ids.h"

namespace {
template <class T, int N>
constexpr int countOf(const T (&)[N]) {
    return N;
}
} // namespace

const ToolbarEntry kToolbarEntries[] = {
    {IDM_ADD_PICTURES, "添加图片", ToolStyle::Button, true, false},
    {IDM_LOAD_ITEM_PICTURES, "加载宝贝", ToolStyle::Button, true, false},
    {IDM_REMOVE_PICTURES, "移除图片", ToolStyle::Button, false, false},
    {0, nullptr, ToolStyle::Separator, true, false},
    {IDM_MOVE_LEFT, "向左移动", ToolStyle::Button, false, false},
    {IDM_MOVE_RIGHT, "向右移动", ToolStyle::Button, false, false},
    {0, nullptr, ToolStyle::Separator, true, false},
    {IDM_PREVIEW_VIDEO, "视频预览", ToolStyle::Button, false, false},
    {IDM_MAKE_VIDEO, "生成视频", ToolStyle::Button, false, false},
    {0, nullptr, ToolStyle::Separator, true, false},
    {IDM_DESKTOP_SHORTCUT, "快捷方式", ToolStyle::Button, true, false},
    {IDM_SUPPORT_SITE, "官方网站", ToolStyle::Button, true, false},
    {IDM_ABOUT, "关于软件", ToolStyle::Button, true, false},
    {IDM_USER_GUIDE, "使用指南", ToolStyle::Button, true, false},
    {0, nullptr, ToolStyle::Separator, true, false},
    {IDM_GIF_MODE, "GIF模式", ToolStyle::Check, true, false},
    {0, nullptr, ToolStyle::Separator, true, false},
    {IDM_SETTINGS_MENU, "软件设置", ToolStyle::Dropdown, true, false},
    {IDM_UPLOAD_VIDEO, "上传视频", ToolStyle::Button, true, true},
};
const int kToolbarEntryCount = countOf(kToolbarEntries);

const ControlEntry kGroupControls[] = {
    // Caption group
    {IDC_CAPTION_GROUP, 0, ControlKind::GroupBox, "", 1, 251, 916, 62, true, true, true},
    {IDC_CAPTION_PANEL, IDC_CAPTION_GROUP, ControlKind::Panel, "", 0, 0, 916, 62, false, true, true},
    {IDC_CAPTION_CHECK, IDC_CAPTION_PANEL, ControlKind::CheckBox, "加文字", 9, 0, 58, 17, false, true, true},
    {IDC_CAPTION_CHECK2, IDC_CAPTION_PANEL, ControlKind::CheckBox, "加文字(天猫版)", 127, 0, 105, 17, false, true, false},
    {0, IDC_CAPTION_PANEL, ControlKind::Label, "位置：", 12, 28, 37, 19, false, false, true},
    {IDC_CAPTION_POSITION, IDC_CAPTION_PANEL, ControlKind::ComboBox, nullptr, 49, 24, 138, 21, false, false, true},
    {0, IDC_CAPTION_PANEL, ControlKind::Label, "文字：", 199, 28, 36, 19, false, false, true},
    {IDC_CAPTION_TEXT, IDC_CAPTION_PANEL, ControlKind::LineEdit, "", 237, 24, 192, 20, false, false, true},
    {0, IDC_CAPTION_PANEL, ControlKind::Label, "字体：", 437, 28, 36, 19, false, false, true},
    {IDC_CAPTION_FONT, IDC_CAPTION_PANEL, ControlKind::ComboBox, nullptr, 474, 24, 88, 21, false, false, true},
    {0, IDC_CAPTION_PANEL, ControlKind::Label, "字号：", 572, 28, 36, 19, false, false, true},
    {IDC_FONT_SIZE, IDC_CAPTION_PANEL, ControlKind::ComboBox, nullptr, 609, 24, 46, 21, false, false, true},
    {0, IDC_CAPTION_PANEL, ControlKind::Label, "颜色：", 667, 28, 36, 19, false, false, true},
    {IDC_CAPTION_COLOR, IDC_CAPTION_PANEL, ControlKind::ComboBox, nullptr, 704, 24, 80, 21, false, false, true},
    {IDC_CAPTION_SAMPLE, IDC_CAPTION_PANEL, ControlKind::Sample, "文字示例", 797, 24, 70, 21, false, false, true},
    {IDC_CAPTION_HELP, IDC_CAPTION_PANEL, ControlKind::PushButton, "?", 879, 23, 26, 23, false, false, true},
    // Logo group
    {IDC_LOGO_GROUP, 0, ControlKind::GroupBox, "", 1, 330, 916, 62, true, true, true},
    {IDC_LOGO_PANEL, IDC_LOGO_GROUP, ControlKind::Panel, "", 0, 0, 916, 62, false, true, true},
    {IDC_LOGO_CHECK, IDC_LOGO_PANEL, ControlKind::CheckBox, "加图标", 9, 0, 58, 17, false, true, true},
    {0, IDC_LOGO_PANEL, ControlKind::Label, "位置：", 12, 28, 38, 19, false, false, true},
    {IDC_LOGO_POSITION, IDC_LOGO_PANEL, ControlKind::ComboBox, nullptr, 49, 24, 138, 21, false, false, true},
    {0, IDC_LOGO_PANEL, ControlKind::Label, "图标：", 199, 28, 36, 19, false, false, true},
    {IDC_LOGO_PATH, IDC_LOGO_PANEL, ControlKind::LineEdit, "", 237, 24, 460, 20, false, false, true},
    {IDC_LOGO_CHOOSE, IDC_LOGO_PANEL, ControlKind::PushButton, "选择...", 703, 23, 77, 23, false, false, true},
    {IDC_LOGO_DOWNLOAD, IDC_LOGO_PANEL, ControlKind::PushButton, "下载素材", 791, 23, 77, 23, false, false, true},
    {IDC_LOGO_HELP, IDC_LOGO_PANEL, ControlKind::PushButton, "?", 879, 23, 26, 23, false, false, true},
    // Output group
    {IDC_OUTPUT_GROUP, 0, ControlKind::GroupBox, "视频输出设置", 1, 409, 916, 62, true, true, true},
    {IDC_OUTPUT_PANEL, IDC_OUTPUT_GROUP, ControlKind::Panel, "", 0, 0, 916, 62, false, true, true},
    {0, IDC_OUTPUT_PANEL, ControlKind::Label, "视频尺寸：", 12, 28, 62, 19, false, true, true},
    {IDC_VIDEO_SIZE, IDC_OUTPUT_PANEL, ControlKind::ComboBox, nullptr, 74, 24, 146, 21, false, true, true},
    {0, IDC_OUTPUT_PANEL, ControlKind::Label, "图片停顿：", 242, 28, 63, 19, false, true, true},
    {IDC_PAUSE_TIME, IDC_OUTPUT_PANEL, ControlKind::ComboBox, nullptr, 305, 24, 172, 21, false, true, true},
    {0, IDC_OUTPUT_PANEL, ControlKind::Label, "背景音乐：", 499, 28, 61, 19, false, true, true},
    {IDC_MUSIC, IDC_OUTPUT_PANEL, ControlKind::ComboBox, nullptr, 560, 24, 152, 21, false, true, true},
    {IDC_MUSIC_NEXT, IDC_OUTPUT_PANEL, ControlKind::PushButton, "下一首", 715, 23, 50, 23, false, true, true},
    {IDC_MUSIC_AUDITION, IDC_OUTPUT_PANEL, ControlKind::PushButton, "试听", 767, 23, 38, 23, false, false, true},
    {IDC_MAKE_VIDEO, IDC_OUTPUT_PANEL, ControlKind::PushButton, "生成视频", 823, 23, 82, 23, false, false, true},
};
const int kGroupControlCount = countOf(kGroupControls);

const MenuEntry kListContextMenu[] = {
    {IDM_CTX_ADD_PICTURES, "添加图片"},
    {IDM_CTX_LOAD_ITEM_PICTURES, "加载宝贝图片"},
    {0, nullptr},
    {IDM_CTX_REMOVE_SELECTED, "移除选中"},
    {IDM_REMOVE_ALL, "移除全部\tCtrl+D"},
    {0, nullptr},
    {IDM_RANDOM_EFFECTS, "更换一组动画"},
    {IDM_APPLY_EFFECT_TO_ALL, "全部设置为该动画"},
    {0, nullptr},
    {IDM_CAPTION_EDGE_DIAGONAL, "自动贴边对角排列文字"},
    {IDM_CAPTION_EDGE_CROSS, "自动贴边交叉排列文字"},
    {0, nullptr},
    {IDM_CAPTION_INSET_DIAGONAL, "自动不贴边对角排列文字"},
    {IDM_CAPTION_INSET_CROSS, "自动不贴边交叉排列文字"},
    {0, nullptr},
    {IDM_CAPTION_CENTER_BOTTOM, "自动中间下方排列文字"},
    {0, nullptr},
    {IDM_PREVIEW_PICTURE, "预览该图片动画\tF5"},
};
const int kListContextMenuCount = countOf(kListContextMenu);

const MenuEntry kSettingsMenu[] = {
    {0, "视频背景填充色"},
    {IDM_BG_FILL_WHITE, "白色"},
    {IDM_BG_FILL_BLACK, "黑色"},
    {-1, nullptr},
    {0, nullptr},
    {0, "生成视频的默认文件名"},
    {IDM_FILE_NAME_BLANK, "空白"},
    {IDM_FILE_NAME_TIME, "当前时间"},
    {IDM_FILE_NAME_FIRST_PICTURE, "第一张图片的文件名"},
    {-1, nullptr},
    {0, nullptr},
    {0, "视频比特率(码率)"},
    {IDM_BITRATE_DEFAULT, "默认"},
    {IDM_BITRATE_1M, "1M"},
    {IDM_BITRATE_2M, "2M"},
    {IDM_BITRATE_3M, "3M"},
    {-1, nullptr},
    {0, nullptr},
    {IDM_CAPTION_MARGINS, "【加文字】边距设置"},
    {0, nullptr},
    {IDM_SAVE_ANIMATION_SETTINGS, "保存图片动画设置..."},
    {IDM_LOAD_ANIMATION_SETTINGS, "加载图片动画设置..."},
    {0, nullptr},
    {IDM_SAVE_VIDEO_SETTINGS, "保存当前视频设置..."},
    {IDM_LOAD_VIDEO_SETTINGS, "加载视频设置..."},
};
const int kSettingsMenuCount = countOf(kSettingsMenu);

// "贴边" entries carry three blanks before the hyphen so that they line up
// with the "不贴边 - " entries.
const char* const kCaptionPositions[9] = {
    "贴边   - 左侧上方", "贴边   - 左侧下方", "贴边   - 右侧上方",
    "贴边   - 右侧下方", "中间下方",          "不贴边 - 左侧上方",
    "不贴边 - 左侧下方", "不贴边 - 右侧上方", "不贴边 - 右侧下方",
};

const char* const kLogoPositions[8] = {
    "不贴边 - 左侧上方", "不贴边 - 左侧下方", "不贴边 - 右侧上方", "不贴边 - 右侧下方",
    "贴边   - 左侧上方", "贴边   - 左侧下方", "贴边   - 右侧上方", "贴边   - 右侧下方",
};

const char* const kFontSizes[13] = {"12", "14", "16", "18", "20", "24", "28",
                                    "32", "36", "42", "48", "56", "64"};

const char* const kCaptionColors[14] = {
    "黑底白字", "黑底黄字", "黑底蓝字", "黑底绿字", "白底黑字", "白底蓝字", "白底绿字",
    "粉底白字", "白色",     "黑色",     "粉色",     "蓝色",     "黄色",     "绿色",
};

const char* const kVideoSizeTexts[kVideoSizeItems] = {
    "",
    "     ( 400 x  400)",
    "     ( 480 x  480)",
    " 3:4 ( 540 x  720)",
    "     ( 640 x  640)",
    "     ( 720 x  720)",
    " 3:4 ( 720 x  960)",
    "     ( 750 x  750)",
    " 3:4 ( 750 x 1000)",
    "16:9 ( 800 x  450)",
    "     ( 800 x  800)",
    "16:9 (1024 x  576)",
    "16:9 (1280 x  720)",
    " 3:4 (1080 x 1440)",
    "自定义...",
};
const char* const EFFECT_COMBO_SEPARATOR = "--------------------";
const char* const kWidestEffectName = "从左右两侧向中间展开";

namespace {
const char* const group1[] = {"淡入淡出", "逐渐缩小", "逐渐放大", nullptr};
const char* const group2[] = {"9点顺时针方向展开", "9点逆时针方向展开", "12点顺时针方向展开",
                              "12点逆时针方向展开", "顺逆时针方向同时展开", "风车", nullptr};
const char* const group3[] = {"从中间向四周展开(方)", "从中间向四周展开(圆)",
                              "从中间向四周展开(菱)", "从中间向四周展开(X)",
                              "从中间向左右展开",     "从中间向上下展开", nullptr};
const char* const group4[] = {"从四周向中间展开(方)", "从四周向中间展开(圆)",
                              "从四周向中间展开(菱)", "从四周向中间展开(X)",
                              "从左右两侧向中间展开", "从上下两侧向中间展开", nullptr};
const char* const group5[] = {"从左上角展开", "从左下角展开", "从右上角展开", "从右下角展开",
                              nullptr};
const char* const group6[] = {"从左向右展开", "从右向左展开", "从上向下展开", "从下向上展开",
                              nullptr};
const char* const group7[] = {"从左到右光栅阶梯展开", "从右到左光栅阶梯展开",
                              "从上到下光栅阶梯展开", "从下到上光栅阶梯展开", nullptr};
const char* const group8[] = {"百叶窗式从左到右展开", "百叶窗式从上到下展开", nullptr};
const char* const group9[] = {"箭头从左到右展开", "箭头从右到左展开", "箭头从上到下展开",
                              "箭头从下到上展开", nullptr};
const char* const group10[] = {"对角线左上到右下展开", "对角线左下到右上展开",
                               "对角线右上到左下展开", "对角线右下到左上展开", nullptr};
const char* const group11[] = {"对角线互动扫描进来", "对角线互动扫描出去", nullptr};
const char* const group12[] = {"下方向两边扫射展开", "上方向两边扫射展开", "左方向两边扫射展开",
                               "右方向两边扫射展开", nullptr};
const char* const group13[] = {"从左上角由小变大", "从左下角由小变大", "从右上角由小变大",
                               "从右下角由小变大", nullptr};
const char* const group14[] = {"从中间由小变大",     "从左侧中间由小变大", "从上侧中间由小变大",
                               "从右侧中间由小变大", "从下侧中间由小变大", nullptr};
const char* const group15[] = {"从上移到中间由小变大", "从下移到中间由小变大",
                               "从左移到中间由小变大", "从右移到中间由小变大", nullptr};
const char* const group16[] = {"向左上角逐渐缩小", "向左下角逐渐缩小", "向右上角逐渐缩小",
                               "向右下角逐渐缩小", nullptr};
const char* const group17[] = {"从四周向中间缩小", "从左右两边向中间缩小", "从上下两边向中间缩小",
                               nullptr};
const char* const group18[] = {"从左向右拖出", "从右向左拖出", "从上向下拖出", "从下向上拖出",
                               nullptr};
const char* const group19[] = {"从左向右滑入", "从右向左滑入", "从上向下滑入", "从下向上滑入",
                               nullptr};
const char* const group20[] = {"从左向右滑出", "从右向左滑出", "从上向下滑出", "从下向上滑出",
                               nullptr};
const char* const group21[] = {"顺时针旋转由小变大", "逆时针旋转由小变大", "顺时针旋转由大变小",
                               "逆时针旋转由大变小", nullptr};
const char* const group22[] = {"从四角向中间展开", "从中间向四角展开", "从四角向中间飞进",
                               "从中间向四角飞出", nullptr};
const char* const group23[] = {"绕左边向外翻转进来", "绕右边向外翻转进来", "绕上边向外翻转进来",
                               "绕下边向外翻转进来", nullptr};
const char* const group24[] = {"左右开门", "上下开门", "左右关门", "上下关门", nullptr};
} // namespace

const char* const* const kEffectGroups[24] = {
    group1,  group2,  group3,  group4,  group5,  group6,  group7,  group8,
    group9,  group10, group11, group12, group13, group14, group15, group16,
    group17, group18, group19, group20, group21, group22, group23, group24,
};
