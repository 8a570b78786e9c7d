#include "net/service_host.h"

#include "foundation/globals.h"
#include "foundation/system_info.h"
#include "net/format_text.h"
#include "net/url_encoding.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

std::string joinBase(std::string base, const std::string& pathAndQuery) {
    while (!base.empty() && (base.back() == '/' || base.back() == ' ')) base.pop_back();
    if (base.empty()) return {};
    if (base.find("://") == std::string::npos) base = "http://" + base;
    return base + pathAndQuery;
}

std::string formEncoded(const std::string& text) {
    char* encoded = url_encode(text.c_str(), static_cast<int>(text.size()), nullptr);
    std::string result = encoded ? encoded : "";
    std::free(encoded);
    return result;
}

std::string osVersion() {
    unsigned major = 0, minor = 0, build = 0;
    getWindowsVersion(&major, &minor, &build);
    return formatText("%u.%u.%u", major, minor, build);
}

} // namespace

std::string serviceUrl(const std::string& pathAndQuery) {
    return joinBase(serviceHost, pathAndQuery);
}

std::string supportSiteUrl(const std::string& page) {
    return joinBase(supportSite, page);
}

std::string serviceStartupQueryUrl() {
    if (serviceUrl("").empty()) return {};
    return serviceUrl(formatText("/startup.asp?v=%0.1f&uid=%s&md5=%s&os=%s", programVersion,
                                 formEncoded(userId).c_str(), formEncoded(programDigest).c_str(),
                                 osVersion().c_str()));
}

std::string serviceErrorReportUrl(const char* where, const char* message) {
    if (serviceUrl("").empty()) return {};
    char processor[128] = "";
    getProcessorSignature(processor, sizeof processor);
    return serviceUrl(formatText("/report.asp?os=%s&cpu=%s&where=%s&msg=%s&v=%0.1f&uid=%s", osVersion().c_str(),
                                 formEncoded(processor).c_str(), formEncoded(where ? where : "").c_str(),
                                 formEncoded(message ? message : "").c_str(), programVersion,
                                 formEncoded(userId).c_str()));
}

std::string servicePictureApiUrl(const char* itemAddress, int type) {
    if (serviceUrl("").empty()) return {};
    std::string reversedUserId = userId;
    std::reverse(reversedUserId.begin(), reversedUserId.end());
    return serviceUrl(formatText("/getProductImg/API.asp?v=%0.1f&sid=%s&baobeiURL=%s&m=%d&", programVersion,
                                 formEncoded(reversedUserId).c_str(), formEncoded(itemAddress ? itemAddress : "").c_str(),
                                 type));
}

std::string serviceMusicCatalogueUrl() {
    return serviceUrl(formatText("/mp3/list.asp?v=%0.1f", programVersion));
}

std::string serviceTextsUrl() {
    return serviceUrl(formatText("/texts.asp?v=%0.1f", programVersion));
}
