#include "net/import/item_picture_loaders.h"

#include "foundation/charset.h"
#include "foundation/globals.h"
#include "foundation/text.h"
#include "net/format_text.h"
#include "net/http_request.h"
#include "net/import/item_id.h"
#include "net/import/import_stop.h"
#include "net/import/item_json.h"
#include "net/import/marketplace_hosts.h"
#include "net/import/picture_addresses.h"
#include "net/import/picture_download.h"
#include "net/reply_text.h"
#include "net/service_host.h"
#include "net/socket_watch.h"
#include "platform/load_item_commands.h"
#include "platform/message_box.h"
#include "platform/status_bar.h"
#include "platform/wait_cursor.h"
#include "production/selection_state.h"

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

std::atomic<ItemPictureLoader> itemPictureLoader{loadItemPictures};

namespace {

// Texts of message boxes built from replies are cut to this many (GBK)
// characters, so a long reply never makes a box larger than the screen.
constexpr int kBoxTextMaxLength = 1023;
constexpr int kErrorMessageMaxLength = 256;

constexpr char kInvalidItemAddress[] = "输入的宝贝地址不符合规范！";
constexpr char kEmptyPictureList[] = "宝贝图片列表为空";
constexpr char kServiceNotConfigured[] =
    "没有设置服务器地址，无法获取宝贝的图片列表。\n\n"
    "可以直接输入图片地址：以 http:// 或 https:// 开头，以 .jpg、.png 或 .gif 结尾，多个地址用分号 ; 隔开。";

// Status-bar part 1 while the list is fetched (the window repaints to show it).
void showFetchingList() {
    setStatusText(1, "获取宝贝图片列表...");
    whileImporting();
}

// The picture list's request, bounded and stoppable like a picture
// download; when it fails and retryCookie is not empty, once more with that
// cookie, within the same time.
HttpResponsePtr requestPictureList(const std::string& url, const char* referer, const char* retryCookie) {
    SocketWatch watch(std::chrono::milliseconds(pictureDownloadDeadlineMs.load()), keepImporting);
    HttpResponsePtr response(http_request(url.c_str(), nullptr, referer, 1, 0, nullptr));
    if (!response->ok && retryCookie && *retryCookie && watch.failure().empty() && !itemImportStopRequested()) {
        response.reset(http_request(url.c_str(), retryCookie, referer, 1, 0, nullptr));
    }
    return response;
}

void notice(const std::string& text) {
    messageBox(hwndMain, text, "提示", MB_ICONWARNING);
}

std::string cutText(const std::string& text, int maxLength) {
    return text.substr(0, gbk_prefix_bytes(text.c_str(), maxLength));
}

// The request to work on: a copy of the caller's, or the dialog's answer,
// its address trimmed. false when it was not confirmed or the address is blank.
bool takeRequest(const LoadItemRequest* given, LoadItemRequest* request) {
    if (given) {
        *request = *given;
    } else {
        std::memset(request, 0, sizeof *request);
        showLoadItemPicturesDialog(hwndMain, request);
    }
    if (!request->ok) return false;
    request->address[sizeof request->address - 1] = '\0';
    char* address = trim(request->address);
    std::memmove(request->address, address, std::strlen(address) + 1);
    return request->address[0] != '\0';
}

bool isWholesaleAddress(const char* address) {
    return std::strstr(address, kWholesaleDomainFragment) != nullptr;
}

// Ends a loader that stops before the download loop.
void endWithoutPictures() {
    setWaitCursor(0);
    updateSelectionState();
}

// A list request the user stopped ends the loader without a word.
bool stoppedDuringRequest() {
    if (!itemImportStopRequested()) return false;
    endWithoutPictures();
    return true;
}

// "获取宝贝图片列表时出错:" with the reply head and the error, within the box limit.
void showListRequestFailure(const HttpResponse* response) {
    std::string error = cutText(response->errorMessage ? response->errorMessage : "", kErrorMessageMaxLength);
    std::string prefix = "获取宝贝图片列表时出错:\n\n";
    int room = kBoxTextMaxLength - gbk_length(prefix.c_str()) - 2 - gbk_length(error.c_str());
    std::string head = cutText(response->header ? response->header : "", room > 0 ? room : 0);
    messageBox(hwndMain, prefix + head + "\n\n" + error, "错误", MB_ICONERROR);
}

// Shows why an item-JSON reply brought no pictures, or downloads them.
// false when the reply failed (not JSON, refused, no data).
bool loadFromItemJson(const HttpResponse* response, ItemJsonShape shape, int type) {
    ItemJsonReply reply = readItemJson(http_reply_text(response), shape, type);
    switch (reply.status) {
    case ItemJsonStatus::NotJson:
        messageBox(hwndMain, "无法解析宝贝的JSON数据，请检查宝贝地址输入是否正确。", "错误", MB_ICONWARNING);
        return false;
    case ItemJsonStatus::Refused:
        notice(reply.message);
        return false;
    case ItemJsonStatus::NoData:
        return false;
    case ItemJsonStatus::Good:
        break;
    }
    if (reply.addresses.empty()) {
        notice(kEmptyPictureList);
        endWithoutPictures();
    } else {
        downloadItemPictures(reply.addresses);
    }
    return true;
}

// The numeric item id of the address, or false after telling the user.
bool takeItemId(const char* address, char id[kItemIdSize]) {
    if (parseItemId(address, id) && isNumber(id)) return true;
    notice(kInvalidItemAddress);
    endWithoutPictures();
    return false;
}

} // namespace

void loadItemPicturesByService(const LoadItemRequest* given) {
    LoadItemRequest request;
    if (!takeRequest(given, &request)) return;
    ItemImportRun run;
    if (isWholesaleAddress(request.address) && itemPictureMode == 4) {
        itemPictureLoader.load()(&request);
        return;
    }
    std::string url = servicePictureApiUrl(request.address, request.type);
    if (url.empty()) {
        notice(kServiceNotConfigured);
        return;
    }
    setWaitCursor(1);
    showFetchingList();
    HttpResponsePtr response = requestPictureList(url, nullptr, nullptr);
    if (stoppedDuringRequest()) return;
    std::string body = response->ok ? http_reply_text(response.get()) : std::string();
    if (!response->ok) {
        messageBox(hwndMain, "获取宝贝图片列表时出错，可以重试一次，或进入官网联系我们的客服。", "错误", MB_ICONERROR);
    } else if (str_starts_with(body.c_str(), "http://") || str_starts_with(body.c_str(), "https://")) {
        downloadItemPictures(servicePictureAddresses(body.c_str()));
        return;
    } else if (body.empty() || body[0] == '\n') {
        notice(kEmptyPictureList);
    } else {
        notice(cutText(body, kBoxTextMaxLength));
    }
    endWithoutPictures();
}

void loadItemPicturesByMobileApi(const LoadItemRequest* given) {
    LoadItemRequest request;
    if (!takeRequest(given, &request)) return;
    ItemImportRun run;
    setWaitCursor(1);
    char id[kItemIdSize];
    if (!takeItemId(request.address, id)) return;
    std::string url = std::string(itemUrlTemplate) + id + "&";
    showFetchingList();
    HttpResponsePtr response = requestPictureList(url, nullptr, nullptr);
    if (stoppedDuringRequest()) return;
    if (!response->ok) {
        showListRequestFailure(response.get());
        endWithoutPictures();
        return;
    }
    if (!loadFromItemJson(response.get(), ItemJsonShape::Mobile, request.type)) endWithoutPictures();
}

void loadItemPictures(const LoadItemRequest* given) {
    LoadItemRequest request;
    if (!takeRequest(given, &request)) return;
    ItemImportRun run;
    std::vector<std::string> direct = directPictureAddresses(request.address);
    if (itemPictureMode == 6 && direct.empty()) {
        notice("输入的图片地址不符合规范！");
        return;
    }
    if (!direct.empty()) {
        downloadItemPictures(direct);
        return;
    }
    bool wholesale = isWholesaleAddress(request.address);
    if (wholesale && itemPictureMode == 3) {
        loadItemPicturesByService(&request);
        return;
    }
    setWaitCursor(1);
    showFetchingList();
    if (wholesale) {
        notice(kInvalidItemAddress);
        endWithoutPictures();
        return;
    }
    char id[kItemIdSize];
    if (!takeItemId(request.address, id)) return;
    if (itemUrlTemplate[0] == '\0') {
        notice(kServiceNotConfigured);
        endWithoutPictures();
        return;
    }

    std::string url = fillItemUrlTemplate(itemUrlTemplate, id);
    std::string referer = std::string("https://") + kItemPageHost + "/item.htm?id=" + id;
    HttpResponsePtr response = requestPictureList(url, referer.c_str(), itemRequestCookie);
    if (stoppedDuringRequest()) return;
    bool loaded = false;
    if (!response->ok) showListRequestFailure(response.get());
    else loaded = loadFromItemJson(response.get(), ItemJsonShape::Detail, request.type);
    if (!loaded) {
        endWithoutPictures();
        showBrowserExtensionLink();
    }
}

void chooseItemPictureLoader() {
    std::string mobileService = std::string("//") + kMobileItemServiceHost;
    bool mobile = std::strstr(itemUrlTemplate, mobileService.c_str()) != nullptr;
    itemPictureLoader = mobile ? loadItemPicturesByMobileApi : loadItemPictures;
}

void loadItemPicturesCommand() {
    switch (itemPictureMode) {
    case 1:
    case 3:
    case 5:
    case 6:
        itemPictureLoader.load()(nullptr);
        break;
    default:
        loadItemPicturesByService(nullptr);
        break;
    }
}
