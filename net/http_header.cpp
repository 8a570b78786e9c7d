#include "net/http_header.h"

#include "foundation/text.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

template <size_t N>
void copyCut(char (&field)[N], const char* value, size_t length) {
    if (length > N - 1) length = N - 1;
    std::memcpy(field, value, length);
    field[length] = '\0';
}

// Content-Length as an int; digits only, anything larger than an int can
// hold counts as INT_MAX (and so fails the size limit), garbage as absent.
int parseContentLength(const char* value) {
    while (*value == ' ') ++value;
    if (*value < '0' || *value > '9') return -1;
    long long n = 0;
    for (; *value >= '0' && *value <= '9'; ++value) {
        n = n * 10 + (*value - '0');
        if (n > INT_MAX) return INT_MAX;
    }
    return static_cast<int>(n);
}

// Where base's path begins: the first '/' after the host, which starts two
// characters after base's first '/' ("http://h/p" and "//h/p" alike);
// npos when base has no path.
size_t pathStartOf(const std::string& base) {
    size_t first = base.find('/');
    if (first == std::string::npos || first + 2 > base.size()) return std::string::npos;
    return base.find('/', first + 2);
}

// A Location value made absolute against the request URL: "/x" replaces
// base's whole path, any other relative value its last path segment.
std::string resolveLocation(const std::string& base, const std::string& value) {
    if (str_starts_with_nocase(value.c_str(), "http:") || str_starts_with_nocase(value.c_str(), "https:")) {
        return value;
    }
    if (value.rfind("//", 0) == 0) {
        size_t colon = base.find(':');
        bool hasScheme = colon != std::string::npos && colon < base.find('/');
        return (hasScheme ? base.substr(0, colon + 1) : std::string("http:")) + value;
    }
    size_t path = pathStartOf(base);
    if (!value.empty() && value[0] == '/') {
        return path == std::string::npos ? base + value : base.substr(0, path) + value;
    }
    if (path == std::string::npos) return base + "/" + value;
    return base.substr(0, base.rfind('/') + 1) + value;
}

bool takeField(const std::string& line, const char* name, const char** value) {
    if (!str_starts_with_nocase(line.c_str(), name)) return false;
    *value = line.c_str() + std::strlen(name);
    return true;
}

} // namespace

void http_parse_header(const char* requestUrl, const char* head, HttpHeader* header) {
    if (!header) return;
    *header = HttpHeader{};
    if (!head) return;
    std::string base = requestUrl ? requestUrl : "";
    std::string text = head;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 2;
        const char* value = nullptr;
        if (takeField(line, "Content-Length: ", &value)) {
            header->contentLength = parseContentLength(value);
        } else if (str_equals_nocase(line.c_str(), "Transfer-Encoding: chunked")) {
            header->isChunked = 1;
        } else if (takeField(line, "Location: ", &value)) {
            header->location = resolveLocation(base, value);
        } else if (takeField(line, "Connection: ", &value)) {
            copyCut(header->connection, value, std::strlen(value));
        } else if (takeField(line, "Content-Encoding: ", &value)) {
            copyCut(header->contentEncoding, value, std::strlen(value));
        } else if (takeField(line, "Content-Type: ", &value)) {
            const char* semicolon = std::strchr(value, ';');
            copyCut(header->contentType, value, semicolon ? size_t(semicolon - value) : std::strlen(value));
            const char* charset = semicolon ? str_find_nocase(semicolon, "charset=") : nullptr;
            if (charset) copyCut(header->charset, charset + 8, std::strlen(charset + 8));
        }
    }
}
