// Commands of the logo group: the check box, choosing the logo file with
// its checks, the support site's logo page and the help box.
#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/globals.h"
#include "foundation/shell.h"
#include "net/service_host.h"
#include "net/url_encoding.h"
#include "platform/command_ids.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/window_controls.h"
#include "render/image.h"
#include "render/image_probe.h"
#include "ui/command_router.h"
#include "ui/main_commands.h"

namespace {

const int kLogoGroupControls[] = {IDC_LOGO_POSITION, IDC_LOGO_PATH, IDC_LOGO_CHOOSE,
                                  IDC_LOGO_DOWNLOAD, IDC_LOGO_HELP};
constexpr int kMaxLogoSize = 256;

void logoCheck(int, int) { enableLogoControls(); }

// A refused logo leaves no logo set and the focus on the choose button.
void refuseLogo(const std::string& text, const char* caption) {
    messageBox(hwndMain, text, caption, MB_ICONWARNING);
    setControlText(IDC_LOGO_PATH, "");
    setControlFocus(IDC_LOGO_CHOOSE);
}

void chooseLogo(int, int) {
    std::string file;
    if (!showOpenFileDialog(hwndMain, "选择图片", {{"PNG图片 (*.PNG)", "*.png;*.jpg;*.jpeg"}},
                            lastLogoFolder, file))
        return;
    std::string type;
    int width = 0, height = 0;
    if (!getImageTypeAndSize(file, &type, &width, &height) || (type != "PNG" && type != "JPEG")) {
        refuseLogo("选中的文件格式不受支持，请选择 PNG 或 JPG 格式的图片。", "错误");
        return;
    }
    if (width > kMaxLogoSize || height > kMaxLogoSize) {
        refuseLogo("选中的图片尺寸(" + std::to_string(width) + " x " + std::to_string(height) +
                       ")过大，请选择尺寸小于 256 x 256 的图片。",
                   "提示");
        return;
    }
    if (type == "JPEG" && isCmykFile(file)) {
        refuseLogo("选择的图标文件是一个使用了[CMYK颜色模式]的JPG图片，请先将图标文件转换成[RGB颜色模式]"
                   "后再使用。",
                   "提示");
        return;
    }
    setControlText(IDC_LOGO_PATH, file);
}

// The support site's logo page, for this user: the id reversed, encoded
// for the address.
void downloadLogos(int, int) {
    std::string id(userId, strnlen(userId, 32));
    std::string reversed(id.rbegin(), id.rend());
    char* encoded = url_encode(reversed.c_str(), static_cast<int>(reversed.size()), nullptr);
    std::string url = supportSiteUrl(std::string("/logo.asp?t=") + (encoded ? encoded : ""));
    std::free(encoded);
    if (!url.empty()) openUrlInBrowser(url.c_str());
}

void logoHelp(int, int) {
    messageBox(hwndMain,
               "PNG、JPG格式的图片都可以做为图标，但是建议您使用 [透明背景的PNG图片] 做图标。\n\n\n"
               "注意：根据当前的视频尺寸来选择一个合适尺寸的图标，支持最大图标尺寸：256 x 256。\n\n"
               "如果当前的视频尺寸较大，那么就需要选择一个较大尺寸的图标。",
               "关于图标", MB_ICONINFORMATION);
}

} // namespace

void enableLogoControls() {
    const int on = isChecked(IDC_LOGO_CHECK);
    for (int id : kLogoGroupControls) enableControl(id, on && (id != IDC_LOGO_DOWNLOAD || hasSupportSite()));
}

void registerLogoCommands() {
    setCommandHandler(IDC_LOGO_CHECK, logoCheck);
    setCommandHandler(IDC_LOGO_CHOOSE, chooseLogo);
    setCommandHandler(IDC_LOGO_DOWNLOAD, downloadLogos);
    setCommandHandler(IDC_LOGO_HELP, logoHelp);
}
