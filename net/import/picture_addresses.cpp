#include "net/import/picture_addresses.h"

#include "foundation/text.h"

#include <cstring>

namespace {

constexpr char kWebpSuffix[] = "_.webp";

bool beginsWithPictureScheme(const char* text) {
    return str_starts_with(text, "http://") || str_starts_with(text, "https://");
}

bool endsWithPictureExtension(const char* text) {
    return str_ends_with_nocase(text, ".jpg") || str_ends_with_nocase(text, ".png") ||
           str_ends_with_nocase(text, ".gif");
}

} // namespace

std::string& stripWebpSuffix(std::string& address) {
    if (str_ends_with_nocase(address.c_str(), kWebpSuffix)) address.resize(address.size() - (sizeof kWebpSuffix - 1));
    return address;
}

std::vector<std::string> directPictureAddresses(const char* text) {
    std::vector<std::string> addresses;
    if (!text) return addresses;
    std::string copy = text;
    char* cursor = copy.data();
    while (char* piece = str_sep(&cursor, ";")) {
        piece = trim(piece);
        if (beginsWithPictureScheme(piece) && endsWithPictureExtension(piece)) addresses.emplace_back(piece);
    }
    return addresses;
}

std::vector<std::string> servicePictureAddresses(const char* body) {
    std::vector<std::string> addresses;
    if (!body || !beginsWithPictureScheme(body)) return addresses;
    std::string copy = body;
    char* cursor = copy.data();
    while (char* line = str_sep(&cursor, "\n")) {
        size_t length = std::strlen(line);
        if (length > 0 && line[length - 1] == '\r') line[length - 1] = '\0';
        if (!beginsWithPictureScheme(line)) break;
        addresses.emplace_back(line);
    }
    return addresses;
}

std::string fillItemUrlTemplate(const char* urlTemplate, const char* id) {
    std::string address;
    if (!urlTemplate) return address;
    for (const char* p = urlTemplate; *p; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            address += id ? id : "";
            ++p;
        } else if (p[0] == '%' && p[1] == '%') {
            address += '%';
            ++p;
        } else {
            address += *p;
        }
    }
    return address;
}
