#include "production/generate_checks.h"

#include <cstdio>
#include <string>

#include "foundation/file_path.h"
#include "foundation/globals.h"
#include "foundation/linked_list.h"
#include "platform/command_ids.h"
#include "platform/message_box.h"
#include "platform/picture_list_view.h"
#include "platform/window_controls.h"
#include "production/encoder_command.h"
#include "production/logo_copy.h"
#include "production/picture_effect.h"
#include "production/timing.h"
#include "render/effects/effect_table.h"
#include "render/image.h"
#include "render/image_probe.h"
#include "render/picture_record.h"
#include "render/wand_ptr.h"

namespace {

int refuse(const std::string& text, const char* caption, int focusControl) {
    messageBox(hwndMain, text, caption, MB_ICONWARNING);
    setControlFocus(focusControl);
    return 0;
}

void releasePreviewLogo() {
    if (previewLogoWand) DestroyMagickWand(previewLogoWand);
    previewLogoWand = nullptr;
}

void loadPreviewLogo(const std::string& path) {
    releasePreviewLogo();
    WandPtr logo(NewMagickWand());
    if (readImageGbkPath(logo.get(), path) != 1) return;
    int w = static_cast<int>(MagickGetImageWidth(logo.get()));
    int h = static_cast<int>(MagickGetImageHeight(logo.get()));
    placeLogo(comboGetCurSel(IDC_LOGO_POSITION), videoWidth, videoHeight, w, h, &previewLogoX,
              &previewLogoY);
    previewLogoWand = logo.release();
}

// The logo must exist, be a PNG or JPEG by its header, fit the frame and
// hold no more bytes than any real logo can. A path that is not a regular
// file has no header to read: it is refused as of another format.
int checkLogo() {
    std::string path = getControlText(IDC_LOGO_PATH);
    if (!isChecked(IDC_LOGO_CHECK) || path.empty()) {
        releasePreviewLogo();
        return 1;
    }
    if (!fileExists(path.c_str()))
        return refuse("选择的图标文件不存在，请重新选择", "提示", IDC_LOGO_CHOOSE);
    ImageHeaderInfo logo;
    if (!readImageHeaderInfo(path, &logo) || (logo.type != "PNG" && logo.type != "JPEG"))
        return refuse("选中的文件格式不受支持，请选择 PNG 或 JPG 格式的图片。", "错误",
                      IDC_LOGO_CHOOSE);
    char text[256];
    if (logo.width > videoWidth || logo.height > videoHeight) {
        std::snprintf(text, sizeof text,
                      "选择的图标尺寸过大(%d x %d)，请选择一个不大于 %d x %d 的图标。", logo.width,
                      logo.height, videoWidth, videoHeight);
        return refuse(text, "提示", IDC_LOGO_CHOOSE);
    }
    if (logo.bytes > kMaxLogoBytes) {
        std::snprintf(text, sizeof text, "选择的图标文件过大(%0.1f MB)，请选择一个不大于 %d MB 的图标。",
                      static_cast<double>(logo.bytes) / 1048576.0, static_cast<int>(kMaxLogoBytes >> 20));
        return refuse(text, "提示", IDC_LOGO_CHOOSE);
    }
    if (frameOutputMode == 2) loadPreviewLogo(path);
    return 1;
}

} // namespace

void placeLogo(int position, int width, int height, int logoWidth, int logoHeight, int* x, int* y) {
    const int m = logoMargin(width);
    const int right = width - logoWidth, bottom = height - logoHeight;
    switch (position) {
    case 0: *x = m; *y = m; break;
    case 1: *x = m; *y = bottom - m; break;
    case 2: *x = right - m; *y = m; break;
    case 3: *x = right - m; *y = bottom - m; break;
    case 4: *x = 0; *y = 0; break;
    case 5: *x = 0; *y = bottom; break;
    case 7: *x = right; *y = bottom; break;
    default: *x = right; *y = 0; break;  // 6, and anything else
    }
}

int checkBeforeGenerate() {
    if (comboGetCurSel(IDC_VIDEO_SIZE) < 1)
        return refuse("请选择视频尺寸", "提示", IDC_VIDEO_SIZE);

    // Nothing to render: refused before the first picture is looked at.
    if (!pictureList || linkedlist_size(pictureList) == 0)
        return refuse("请先添加图片", "提示", IDC_PICTURE_LIST);

    auto* first = static_cast<const PictureRecord*>(linkedlist_get(pictureList, 0));
    if (first->effectIndex != kNoAnimation) {
        messageBox(hwndMain,
                   "第一张图片必需设置为：[无动画]，否则视频上传到淘宝后的视频截图会出现黑色背景。",
                   "提示", MB_ICONWARNING);
        setPictureEffect(0, kNoAnimation);
        selectOnlyRow(0);
        setControlFocus(IDC_PICTURE_LIST);
        return 0;
    }

    int pauseCount = comboGetCount(IDC_PAUSE_TIME);
    if (pauseCount > 0 && comboGetCurSel(IDC_PAUSE_TIME) == pauseCount - 1 &&
        comboGetCurSel(IDC_MUSIC) < 1)
        return refuse("在没有选择背景音乐的情况下，图片停顿不能选择[与背景音乐同步]！", "提示",
                      IDC_PAUSE_TIME);

    if (!checkLogo()) return 0;

    float seconds = framesToSeconds(getTotalFrames());
    if (seconds >= kMaxVideoSeconds) {
        char text[256];
        std::snprintf(text, sizeof text, "%s%0.2f秒%s", "淘宝网规定主图视频必须 < 61秒，当前视频长度：",
                      static_cast<double>(seconds), "！\n\n提示：可以通过调整图片停顿时间来缩小视频长度。");
        return refuse(text, "提示", IDC_PAUSE_TIME);
    }
    return 1;
}
