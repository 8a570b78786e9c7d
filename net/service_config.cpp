#include "net/service_config.h"

#include "foundation/globals.h"
#include "foundation/shell.h"
#include "foundation/text.h"
#include "net/http_request.h"
#include "net/reply_text.h"
#include "net/service_host.h"
#include "platform/load_item_commands.h"
#include "platform/message_box.h"
#include "platform/ui_thread.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The notices of the two keywords and the support-site page they lead to.
const char* const updateQuestion = "主图视频软件有新版本了，是否现在前往官网下载？";
const char* const mustUpdateNotice = "当前版本已停止使用，请前往官网下载最新版本的主图视频软件。";
const char* const downloadPage = "/download.html";

int toInt(const char* text) {
    long value = std::strtol(text, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

// Copies text into a fixed field, cut on a character boundary.
template <size_t N>
void copyCut(char (&field)[N], const std::string& text) {
    size_t length = text.size();
    if (length > N - 1) {
        length = N - 1;
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
    }
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

// Four decimals, truncated towards zero: the precision margins are kept in.
// Only for margins, which lie between 0 and 0.5.
long long tenThousandths(double value) {
    return static_cast<long long>(value * 10000.0);
}

// A margin is kept as a float: it must lie strictly between 0 and 0.5 as
// stored (0.49999999 becomes 0.5).
bool validMargin(double value) {
    if (!(value > 0 && value < 0.5)) return false;
    const float stored = static_cast<float>(value);
    return stored > 0 && stored < 0.5f;
}

void openSupportPage() {
    std::string url = supportSiteUrl(downloadPage);
    if (!url.empty()) openUrlInBrowser(url.c_str());
}

} // namespace

ServiceReply parseServiceReply(const char* text) {
    ServiceReply reply;
    std::string copy = text ? text : "";
    char* cursor = copy.data();
    std::array<double, 5> margins{};
    int index = 0;
    for (char* field; index <= 30 && (field = str_sep(&cursor, "^")) != nullptr; ++index) {
        switch (index) {
        case 0: reply.notice = field; break;
        case 2: reply.itemPictureMode = toInt(field); break;
        case 3: reply.itemUrlTemplate = field; break;
        case 4: reply.itemPictureTypes = toInt(field); break;
        case 5: reply.serviceBitrateKbps = toInt(field); break;
        case 6: reply.keepHttpsPictureUrls = toInt(field); break;
        case 7: case 8: case 9: case 10: margins[static_cast<size_t>(index - 7)] = std::strtod(field, nullptr); break;
        case 11:
            margins[4] = std::strtod(field, nullptr);
            reply.captionMargins = margins;
            break;
        case 27: reply.itemRequestCookie = field; break;
        default: break;
        }
    }
    return reply;
}

void applyServiceCaptionMargins(const std::array<double, 5>& values) {
    // Values equal to the defaults change nothing either, so one invalid
    // value may reject all five before any comparison.
    for (double v : values) {
        if (!validMargin(v)) return;
    }
    float* defaults[5] = {&defaultCaptionMargins.centerBottom, &defaultCaptionMargins.left,
                          &defaultCaptionMargins.right, &defaultCaptionMargins.top, &defaultCaptionMargins.bottom};
    float* inUse[5] = {&captionMargins.centerBottom, &captionMargins.left, &captionMargins.right,
                       &captionMargins.top, &captionMargins.bottom};
    bool unchanged = true;
    for (size_t i = 0; i < 5; ++i) unchanged = unchanged && tenThousandths(*defaults[i]) == tenThousandths(values[i]);
    if (unchanged) return;
    bool userKeptDefaults = true;
    for (size_t i = 0; i < 5; ++i) {
        userKeptDefaults = userKeptDefaults && tenThousandths(*inUse[i]) == tenThousandths(*defaults[i]);
    }
    for (size_t i = 0; i < 5; ++i) {
        if (userKeptDefaults) *inUse[i] = static_cast<float>(values[i]);
        *defaults[i] = static_cast<float>(values[i]);
    }
}

void applyServiceReply(const ServiceReply& reply) {
    if (reply.itemPictureMode) {
        itemPictureMode = *reply.itemPictureMode;
        if (itemPictureMode == 6) showBrowserExtensionLink();
    }
    if (reply.itemUrlTemplate) copyCut(itemUrlTemplate, *reply.itemUrlTemplate);
    if (reply.itemPictureTypes) itemPictureTypes = *reply.itemPictureTypes;
    if (reply.serviceBitrateKbps) serviceBitrateKbps = *reply.serviceBitrateKbps;
    if (reply.keepHttpsPictureUrls) keepHttpsPictureUrls = *reply.keepHttpsPictureUrls;
    if (reply.captionMargins) applyServiceCaptionMargins(*reply.captionMargins);
    if (reply.itemRequestCookie) copyCut(itemRequestCookie, *reply.itemRequestCookie);

    if (itemPictureMode == 2) hideLoadItemCommands();

    if (reply.notice == "true") {
        if (messageBox(hwndMain, updateQuestion, "提示", MB_ICONQUESTION | MB_YESNO) == IDYES) openSupportPage();
    } else if (reply.notice == "must") {
        messageBox(hwndMain, mustUpdateNotice, "提示", MB_ICONINFORMATION);
        openSupportPage();
        // End at once, as the start-up checks do: no other thread's work is
        // waited for or torn down.
        std::fflush(nullptr);
        std::_Exit(0);
    }
}

void queryServiceConfig() {
    std::string url = serviceStartupQueryUrl();
    if (url.empty()) return;
    HttpResponsePtr response(http_request(url.c_str(), nullptr, nullptr, 1, 0, nullptr));
    if (!response->ok) return;
    ServiceReply reply = parseServiceReply(http_reply_text(response.get()).c_str());
    runOnUiThread([&reply] { applyServiceReply(reply); });
}
