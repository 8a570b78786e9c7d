#include "ui/play_page.h"

#include <QString>

#include <filesystem>
#include <vector>

#include "foundation/file_path.h"
#include "foundation/globals.h"
#include "foundation/shell.h"
#include "net/service_host.h"
#include "platform/atomic_file.h"
#include "platform/data_folder.h"
#include "platform/message_box.h"
#include "platform/ui_thread.h"

namespace {

std::string htmlEscaped(const std::string& text) {
    return QString::fromStdString(text).toHtmlEscaped().replace('\'', "&#39;").toStdString();
}

std::string fileUrl(const std::string& path) {
    std::error_code error;
    std::string absolute = std::filesystem::absolute(path, error).string();
    if (error) absolute = path;
    std::vector<char> url(absolute.size() * 3 + 8);
    return pathToFileUrl(absolute.c_str(), url.data(), url.size()) ? url.data() : "";
}

} // namespace

std::string playPageHtml(const std::string& videoPath) {
    std::string page =
        "<!DOCTYPE HTML><html><head><meta http-equiv='Content-Type' content='text/html; charset=utf-8'>";
    page += "<title>" + htmlEscaped(getFileName(videoPath.c_str())) +
            "</title><style>body{padding:0px;margin-top:32px;text-align:center;"
            "background-color:#000000;}</style></head><body>";
    page += "<select name=\"bgc\" style=\"float:right; margin-right:32px;\" onChange=\"if(this.selectedIndex "
            "== 0){document.body.style.backgroundColor='#000000';}else{document.body.style."
            "backgroundColor='#FFFFFF';}\">";
    page += "<option>黑色背景</option><option>白色背景</option></select>";
    page += "<video controls autoplay src=\"" + htmlEscaped(fileUrl(videoPath));
    page += "\"><font color=red>当前浏览器不支持播放mp4视频，支持的浏览器有360极速浏览器、搜狗浏览器、QQ浏览器等。<br><br>";
    // The player's name is a link only when the support site can serve it.
    const std::string playerPage = supportSiteUrl("/getPlayer.asp");
    const std::string player = playerPage.empty() ? "射手影音播放器"
                                                  : "<a href='" + htmlEscaped(playerPage) +
                                                        "' target='_blank' style='color:red'>射手影音播放器</a>";
    page += "您也可以下载 " + player + " 来播放视频。</font></video></body></html>";
    return page;
}

int writePlayPage(const char* pagePath, const char* videoPath) {
    if (!pagePath || !videoPath) return 0;
    return writeFileAtomically(pagePath, playPageHtml(videoPath), 0644) ? 1 : 0;
}

namespace {

void openPlayPage(void* owner, const std::string& videoPath) {
    for (const std::string& folder : {programFolder, privateDataFolder()}) {
        if (folder.empty()) continue;
        std::string page = folder + "/play.html";
        if (writePlayPage(page.c_str(), videoPath.c_str())) {
            openUrlInBrowser(page.c_str());
            return;
        }
    }
    messageBox(owner,
               "无法创建播放视频的HTML文件，但这不影响新生成的视频文件在淘宝网做为主图视频使用。\n\n"
               "你可以从网上下载：射手影音 来播放视频。",
               "提示", MB_ICONWARNING);
}

} // namespace

void playGeneratedVideo(void* owner, const std::string& videoPath) {
    // A player that turns out to be missing is found after this returns;
    // by then the progress window may be gone, so the main window owns
    // that warning.
    auto noPlayer = [videoPath] { runOnUiThread([videoPath] { openPlayPage(hwndMain, videoPath); }); };
    if (shellOpenChecked(videoPath.c_str(), noPlayer)) return;
    openPlayPage(owner, videoPath);
}
