#include "production/picture_list.h"

#include <cstdio>
#include <utility>

#include "foundation/charset.h"
#include "foundation/globals.h"
#include "foundation/linked_list.h"
#include "platform/command_ids.h"
#include "platform/info_window.h"
#include "platform/message_box.h"
#include "platform/picture_list_view.h"
#include "platform/status_bar.h"
#include "platform/window_controls.h"
#include "production/caption_markers.h"
#include "production/picture_effect.h"
#include "production/picture_effects.h"
#include "production/picture_selection.h"
#include "production/selection_state.h"
#include "production/timing.h"
#include "render/effects/effect_table.h"
#include "render/image_probe.h"
#include "render/picture_renderer.h"
#include "render/thumbnail.h"

namespace {

int pictureCounter = 0;

bool gifMode() { return isChecked(IDM_GIF_MODE) != 0; }

const std::string& rowLabel(const PictureRecord& picture) {
    return gifMode() ? picture.fileName : picture.effectName;
}

std::string fileNameOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Why a file was refused, as the information window shows it.
std::string refusal(const char* reason, const std::string& path) {
    return std::string(reason) + ":\r\n" + path;
}

std::string thumbnailFailure(const std::string& path) {
    std::string text = "图片读取失败@生成缩略图:\r\n" + path;
    // The hint points at the support site; without one it would name nothing.
    if (!supportSite.empty())
        text += "\r\n- - -> 请进入官方网站(" + supportSite + ")联系我们的客服。\r\n";
    return text;
}

// The caption a new picture starts with: the caption boxes' mode, the
// default position and the style the controls show.
void initCaption(CaptionRecord& caption) {
    caption.mode = static_cast<std::uint32_t>(captionModeFromBoxes());
    caption.position = captionPosition;
    int color = comboGetCurSel(IDC_CAPTION_COLOR);
    if (color < 0 || color >= 16) color = 0;
    caption.boxColor = captionBoxColors[color];
    caption.textColor = captionTextColors[color];
    if (comboGetCount(IDC_CAPTION_FONT) > 0) {
        std::string font = comboGetItemText(IDC_CAPTION_FONT, comboGetCurSel(IDC_CAPTION_FONT));
        font.resize(gbk_prefix_bytes(font.c_str(), kFontNameMaxLength));
        caption.fontName = font;
    }
}

void deletePictureAt(int index) {
    deleteListRow(index);
    delete static_cast<PictureRecord*>(linkedlist_remove_at(pictureList, index));
}

} // namespace

int pictureListSize() { return pictureList ? linkedlist_size(pictureList) : 0; }

PictureRecord* pictureAt(int index) {
    if (index < 0 || index >= pictureListSize()) return nullptr;
    return static_cast<PictureRecord*>(linkedlist_get(pictureList, index));
}

void initPictureList() {
    if (!pictureList) pictureList = linkedlist_new();
    setSelectionStateHandler(refreshSelectionState);
}

void freePictureList() {
    if (!pictureList) return;
    while (linkedlist_size(pictureList) > 0)
        delete static_cast<PictureRecord*>(linkedlist_remove_last(pictureList));
    linkedlist_free(pictureList, 0);
    pictureList = nullptr;
}

int addPicture(const std::string& path) {
    if (!pictureList) return 0;
    incPictureCounter();
    const char* reason = nullptr;
    switch (probeImageType(path)) {
    case IMAGE_PROBE_UNREADABLE: reason = "图片读取失败"; break;
    case IMAGE_PROBE_ANIMATED: reason = "不支持gif动画图片"; break;
    case IMAGE_PROBE_UNKNOWN: reason = "无法识别的图片"; break;
    default: break;
    }
    if (reason) {
        appendInfoText(refusal(reason, path));
        decPictureCounter();
        return 0;
    }

    ThumbnailIcon icon;
    int made = makeThumbnailIcon(path, thumbnailWidth, thumbnailHeight, &icon);
    if (made != 1) {
        appendInfoText(made == -1 ? refusal("不支持gif动画图片", path) : thumbnailFailure(path));
        decPictureCounter();
        return 0;
    }

    auto* picture = new PictureRecord;
    initCaption(*picture->caption);
    int effect = kNoAnimation;
    if (!gifMode() && pictureListSize() > 0) effect = drawUnusedEffect(pictureListSize());
    picture->effectIndex = effect;
    picture->effectName = getEffectName(effect);
    picture->path = path;
    picture->fileName = fileNameOf(path);

    // The new row goes at the end: the row count equals the record count.
    int row = pictureListSize();
    linkedlist_add(pictureList, picture);
    RowIcon rowIcon;
    rowIcon.width = icon.width;
    rowIcon.height = icon.height;
    rowIcon.rgba = icon.rgba.data();
    insertListRow(row, rowLabel(*picture), rowIcon);
    return 1;
}

void removeSelectedPictures() {
    if (!pictureList) return;
    int rows = pictureListSize();
    int selected = 0;
    for (int row = 0; row < rows; ++row)
        if (listRowState(row) & ROW_SELECTED) ++selected;
    if (selected == rows) {
        removeAllPictures();
        return;
    }
    bool firstRemoved = false;
    for (int row = rows - 1; row >= 0; --row) {
        if (!(listRowState(row) & ROW_SELECTED)) continue;
        deletePictureAt(row);
        if (row == 0) firstRemoved = true;
    }
    if (firstRemoved && pictureListSize() > 0) setPictureEffect(0, kNoAnimation);
    arrangeListRows();
    updatePictureCount();
    showVideoLength();
    updateCaptionPreviews();
    // The removed rows may have been the selection the controls showed.
    updateSelectionState();
}

void removeAllPictures() {
    if (!pictureList) return;
    deleteAllListRows();
    arrangeListRows();
    while (linkedlist_size(pictureList) > 0)
        delete static_cast<PictureRecord*>(linkedlist_remove_last(pictureList));
    resetPictureCounter();
    updatePictureCount();
    updateSelectionState();
    showVideoLength();
    updateCaptionPreviews();
}

void trimPictureList() {
    if (!pictureList) return;
    for (int row = pictureListSize() - 1; row >= maxPictures && row >= 0; --row) deletePictureAt(row);
    arrangeListRows();
    updatePictureCount();
    showVideoLength();
    updateCaptionPreviews();
    updateSelectionState();
}

void refreshPictureRows() {
    for (int row = 0; row < pictureListSize(); ++row) setRowLabel(row, rowLabel(*pictureAt(row)));
}

void movePicture(int direction) {
    int from = getSelectedItemIndex();
    int to = from + (direction < 0 ? -1 : 1);
    if (from < 0 || to < 0 || to >= pictureListSize() || selectedRowCount() != 1) return;
    PictureRecord* a = pictureAt(from);
    PictureRecord* b = pictureAt(to);
    std::swap(a->path, b->path);
    std::swap(a->fileName, b->fileName);
    std::swap(a->caption, b->caption);
    swapListRowIcons(from, to);
    setListRowState(from, 0, ROW_SELECTED | ROW_FOCUSED);
    setListRowState(to, ROW_SELECTED | ROW_FOCUSED, ROW_SELECTED | ROW_FOCUSED);
    ensureListRowVisible(to);
    if (gifMode()) refreshPictureRows();
    // The captions moved with their pictures: so do their markers.
    updateCaptionPreviews();
}

void showMaxPicturesMessage() {
    if (pictureListSize() == 0) showEmptyListHint(1);
    char text[64];
    std::snprintf(text, sizeof text, "最多可以添加 %d 张图片", maxPictures);
    messageBox(hwndMain, text, "提示", MB_ICONWARNING);
}

int picturesOutsideTempDir() {
    int count = pictureListSize();
    if (count == 0) return 0;
    for (int i = 0; i < count; ++i)
        if (pictureAt(i)->path.find(workFolder) != std::string::npos) return 0;
    return 1;
}

void updatePictureCount() {
    int count = pictureListSize();
    enableControl(IDM_PREVIEW_VIDEO, count > 0);
    enableControl(IDM_MAKE_VIDEO, count > 0);
    enableControl(IDC_MAKE_VIDEO, count > 0);
    showEmptyListHint(count == 0);
    char text[32];
    std::snprintf(text, sizeof text, "%d 张图片", count);
    setStatusText(0, text);
    if (comboGetCurSel(IDC_MUSIC) > 0) syncPauseWithMusic();
}

void resetPictureCounter() { pictureCounter = 0; }
int incPictureCounter() { return pictureCounter++; }
int decPictureCounter() { return pictureCounter--; }
