// Commands of the caption group: the two caption boxes, the shared font
// and colours, each picture's position and text, the automatic layouts of
// the context menu, the help box and the margins dialog.
#include <QWidget>
#include <string>

#include "foundation/charset.h"
#include "foundation/globals.h"
#include "foundation/shell.h"
#include "foundation/text.h"
#include "net/service_host.h"
#include "platform/command_ids.h"
#include "platform/main_command.h"
#include "platform/message_box.h"
#include "platform/picture_list_view.h"
#include "platform/window_controls.h"
#include "production/caption_markers.h"
#include "production/caption_positions.h"
#include "production/picture_list.h"
#include "production/selection_state.h"
#include "render/picture_record.h"
#include "ui/caption_margins_dialog.h"
#include "ui/command_router.h"
#include "ui/control_registry.h"
#include "ui/main_commands.h"
#include "ui/main_window.h"

namespace {

void repaintSample() {
    if (QWidget* sample = controlWidget(IDC_CAPTION_SAMPLE)) sample->repaint();
}

// A caption box was clicked: refused in GIF mode and without fonts.
void captionBox(int box, int other) {
    if (isChecked(IDM_GIF_MODE)) {
        setChecked(box, 0);
        messageBox(hwndMain, "开启[GIF模式]后，不能加文字。", "提示", MB_ICONINFORMATION);
        return;
    }
    if (comboGetCount(IDC_CAPTION_FONT) > 0) {
        applyCaptionModeToAll(box, other);
        if (box == IDC_CAPTION_CHECK) updateSelectionState();
        repaintSample();
        return;
    }
    if (messageBox(hwndMain,
                   "在您的电脑中没有找到必需的 [黑体] 和 [楷体] 字体，目前无法在视频中添加文字。"
                   "\n\n是否要下载该字体？",
                   "注意", MB_ICONQUESTION | MB_YESNO) == IDYES) {
        std::string url = supportSiteUrl("/font.asp");
        if (!url.empty()) openUrlInBrowser(url.c_str());
    }
    setChecked(box, 0);
}

void captionCheck(int, int) { captionBox(IDC_CAPTION_CHECK, IDC_CAPTION_CHECK2); }
void captionCheck2(int, int) { captionBox(IDC_CAPTION_CHECK2, IDC_CAPTION_CHECK); }

void captionFont(int id, int code) {
    if (code != CBN_SELCHANGE) return;
    std::string font = comboGetItemText(id, comboGetCurSel(id));
    font.resize(gbk_prefix_bytes(font.c_str(), kFontNameMaxLength));
    for (int i = 0; i < pictureListSize(); ++i) pictureAt(i)->caption->fontName = font;
    showCaptionSampleFont(font);
}

void captionColor(int id, int code) {
    if (code != CBN_SELCHANGE) return;
    const int index = comboGetCurSel(id);
    if (index < 0 || index >= 16) return;
    for (int i = 0; i < pictureListSize(); ++i) {
        pictureAt(i)->caption->boxColor = captionBoxColors[index];
        pictureAt(i)->caption->textColor = captionTextColors[index];
    }
    repaintSample();
}

// The selected pictures' captions go to the chosen position.
void captionPositionCommand(int id, int code) {
    if (code != CBN_SELCHANGE) return;
    const int position = comboGetCurSel(id);
    if (position < 0) return;
    for (int row = 0; row < pictureListSize(); ++row) {
        if (!(listRowState(row) & ROW_SELECTED)) continue;
        pictureAt(row)->caption->position = position;
        positionCaptionPreview(row);
    }
}

// Typing in the caption edit gives the selected pictures that text.
void captionText(int id, int code) {
    if (code != EN_CHANGE || captionEditGuard || !isControlEnabled(IDC_CAPTION_CHECK) ||
        captionModeFromBoxes() == 0 || focusedControl() != id)
        return;
    std::string text = getControlText(id);
    text.resize(gbk_prefix_bytes(text.c_str(), kCaptionTextMaxLength));
    std::string copy = text;
    text = trim(copy.data());
    for (int row = 0; row < pictureListSize(); ++row) {
        if (!(listRowState(row) & ROW_SELECTED)) continue;
        pictureAt(row)->caption->text = text;
        if (row >= kCaptionMarkerSlots) continue;
        if (!text.empty()) positionCaptionPreview(row);
        showCaptionMarker(row, !text.empty());
    }
}

void captionHelp(int, int) {
    messageBox(hwndMain,
               "文字的字体、字号、颜色是统一设置的，可以设置每一张图片文字显示的位置和内容，"
               "也可以在图片上点右键选择自动设置文字的位置。\n\n在加文字的情况下，图片停顿时间最好"
               "大于1.5秒。",
               "提示", MB_ICONINFORMATION);
}

void arrange(int id, int) {
    switch (id) {
    case IDM_CAPTION_EDGE_DIAGONAL: arrangeCaptions(CaptionLayout::EdgeDiagonal); break;
    case IDM_CAPTION_EDGE_CROSS: arrangeCaptions(CaptionLayout::EdgeCross); break;
    case IDM_CAPTION_INSET_DIAGONAL: arrangeCaptions(CaptionLayout::InsetDiagonal); break;
    case IDM_CAPTION_INSET_CROSS: arrangeCaptions(CaptionLayout::InsetCross); break;
    default: arrangeCaptions(CaptionLayout::CenterBottom); break;
    }
}

void captionMarginsDialog(int, int) { showCaptionMarginDialog(mainWindow()); }

} // namespace

void registerCaptionCommands() {
    setCommandHandler(IDC_CAPTION_CHECK, captionCheck);
    setCommandHandler(IDC_CAPTION_CHECK2, captionCheck2);
    setCommandHandler(IDC_CAPTION_POSITION, captionPositionCommand);
    setCommandHandler(IDC_CAPTION_FONT, captionFont);
    setCommandHandler(IDC_CAPTION_COLOR, captionColor);
    setCommandHandler(IDC_CAPTION_TEXT, captionText);
    setCommandHandler(IDC_CAPTION_HELP, captionHelp);
    setCommandHandler(IDM_CAPTION_EDGE_DIAGONAL, IDM_CAPTION_CENTER_BOTTOM, arrange);
    setCommandHandler(IDM_CAPTION_MARGINS, captionMarginsDialog);
}
