#include "net/url_encoding.h"

#include "foundation/heap_alloc.h"

#include <cstdint>

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool keptAsIs(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_';
}

} // namespace

char* url_encode(const char* text, int length, int* outLength) {
    if (!text) return nullptr;
    if (length <= 0) return heapCalloc<char>(1);
    static const char digits[] = "0123456789ABCDEF";
    char* out = heapCalloc<char>(3 * static_cast<size_t>(length) + 1);
    char* at = out;
    for (int i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == ' ') {
            *at++ = '+';
        } else if (keptAsIs(c)) {
            *at++ = static_cast<char>(c);
        } else {
            *at++ = '%';
            *at++ = digits[c >> 4];
            *at++ = digits[c & 15];
        }
    }
    *at = '\0';
    if (outLength) *outLength = static_cast<int>(at - out);
    return out;
}

int url_decode(char* buffer, int length) {
    if (!buffer || length < 0) return 0;
    int out = 0;
    for (int i = 0; i < length; ++i) {
        char c = buffer[i];
        if (c == '+') {
            buffer[out++] = ' ';
        } else if (c == '%' && i + 2 < length && hexValue(buffer[i + 1]) >= 0 && hexValue(buffer[i + 2]) >= 0) {
            buffer[out++] = static_cast<char>(hexValue(buffer[i + 1]) * 16 + hexValue(buffer[i + 2]));
            i += 2;
        } else {
            buffer[out++] = c;
        }
    }
    buffer[out] = '\0';
    return out;
}

int hexToInt(const char* text) {
    if (!text) return 0;
    if (text[0] && (text[1] == 'x' || text[1] == 'X')) text += 2;
    while (*text == ' ' || *text == '\t') ++text;
    std::uint32_t value = 0;
    for (int digit; (digit = hexValue(*text)) >= 0; ++text) value = value * 16 + static_cast<std::uint32_t>(digit);
    return static_cast<int>(value);
}
