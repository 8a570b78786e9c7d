#include "net/service_preferences.h"

#include "foundation/globals.h"
#include "foundation/registry.h"
#include "foundation/text.h"

#include <string>

namespace {

std::string readAddress(const char* valueName) {
    char buffer[1024] = "";
    unsigned size = sizeof buffer;
    if (!read_registry_string(HKEY_CURRENT_USER, "SOFTWARE\\Vessoranthe", valueName, buffer, &size)) return {};
    return trim(buffer);
}

} // namespace

void loadServicePreferences() {
    serviceHost = readAddress("service_host");
    supportSite = readAddress("support_site");
}
