#include "net/service_host.h"

#include "foundation/globals.h"

namespace {

std::string joinBase(std::string base, const std::string& pathAndQuery) {
    while (!base.empty() && (base.back() == '/' || base.back() == ' ')) base.pop_back();
    if (base.empty()) return {};
    if (base.find("://") == std::string::npos) base = "http://" + base;
    return base + pathAndQuery;
}

} // namespace

std::string serviceUrl(const std::string& pathAndQuery) {
    return joinBase(serviceHost, pathAndQuery);
}

std::string supportSiteUrl(const std::string& page) {
    return joinBase(supportSite, page);
}
