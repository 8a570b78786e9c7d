#include "net/http_url.h"

#include "foundation/heap_alloc.h"
#include "foundation/text.h"

#include <cstring>
#include <string>

int http_has_control_chars(const char* text) {
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); p && *p; ++p) {
        if (*p < 0x20 || *p == 0x7F) return 1;
    }
    return 0;
}

int http_parse_url(const char* url, HttpUrl* parsed) {
    if (!url || !parsed || http_has_control_chars(url)) return 0;
    if (!str_starts_with_nocase(url, "http://") && !str_starts_with_nocase(url, "https://") &&
        !str_starts_with(url, "//")) {
        return 0;
    }

    std::string text = url;
    size_t slash = text.find('/');
    if (slash == std::string::npos || slash + 1 >= text.size() || text[slash + 1] != '/') return 0;
    size_t hostStart = slash + 2;
    size_t pathStart = text.find('/', hostStart);
    if (pathStart == std::string::npos) {
        text += '/';
        pathStart = text.size() - 1;
    }
    std::string hostPart = text.substr(hostStart, pathStart - hostStart);
    int secure = str_starts_with_nocase(url, "https:");
    int port = secure ? 443 : 80;
    size_t colon = hostPart.find(':');
    if (colon != std::string::npos) {
        std::string digits = hostPart.substr(colon + 1);
        hostPart.resize(colon);
        if (digits.empty() || digits.size() > 5 || !isDigits(digits.c_str())) return 0;
        port = std::stoi(digits);
        if (port < 1 || port > 65535) return 0;
    }
    if (hostPart.empty()) return 0;

    parsed->host = heapCopyBytes(hostPart.data(), hostPart.size());
    parsed->path = heapCopy(text.c_str() + pathStart);
    parsed->port = port;
    parsed->secure = secure;
    return 1;
}

void http_url_free(HttpUrl* parsed) {
    if (!parsed) return;
    std::free(parsed->host);
    std::free(parsed->path);
    parsed->host = nullptr;
    parsed->path = nullptr;
}

void http_url_get_ext(const char* url, char* buffer, int maximum) {
    if (!buffer || maximum < 0) return;
    buffer[0] = '\0';
    if (!url) return;
    size_t end = std::strcspn(url, "?#");
    std::string path(url, end);
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return;
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < slash) return;
    std::string ext = path.substr(dot + 1, static_cast<size_t>(maximum));
    std::memcpy(buffer, ext.c_str(), ext.size() + 1);
}
