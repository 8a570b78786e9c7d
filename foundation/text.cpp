#include "foundation/text.h"

#include "foundation/heap_alloc.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/syscall.h>
#include <unistd.h>
#include <utility>

namespace {

bool isBlank(char c) {
    return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalBytes(const char* a, const char* b, std::size_t n, bool ignoreCase) {
    if (!ignoreCase) return std::memcmp(a, b, n) == 0;
    for (std::size_t i = 0; i < n; ++i)
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    return true;
}

int startsWith(const char* text, const char* prefix, bool ignoreCase) {
    if (!text || !prefix) return 0;
    std::size_t n = std::strlen(prefix);
    if (n == 0) return *text == '\0';
    return std::strlen(text) >= n && equalBytes(text, prefix, n, ignoreCase);
}

int endsWith(const char* text, const char* suffix, bool ignoreCase) {
    if (!text || !suffix) return 0;
    std::size_t n = std::strlen(suffix), length = std::strlen(text);
    if (n == 0) return length == 0;
    if (n > length) return 0;
    return equalBytes(text + length - n, suffix, n, ignoreCase);
}

int equalTexts(const char* a, const char* b, bool ignoreCase) {
    if (!a || !b) return !a && !b;
    std::size_t n = std::strlen(a);
    return n == std::strlen(b) && equalBytes(a, b, n, ignoreCase);
}

// Optional "-", then digits; with allowPoint, at most one "." after the
// first digit.
int matchesNumber(const char* text, bool allowSign, bool allowPoint) {
    if (!text) return 0;
    const char* p = text;
    if (allowSign && *p == '-') ++p;
    if (*p < '0' || *p > '9') return 0;
    bool seenPoint = false;
    for (; *p; ++p) {
        if (*p >= '0' && *p <= '9') continue;
        if (allowPoint && *p == '.' && !seenPoint) {
            seenPoint = true;
            continue;
        }
        return 0;
    }
    return 1;
}

} // namespace

char* trim_left(char* text) {
    if (!text) return nullptr;
    while (isBlank(*text)) ++text;
    return text;
}

char* trim_right(char* text) {
    if (!text) return nullptr;
    std::size_t length = std::strlen(text);
    while (length > 0 && isBlank(text[length - 1])) text[--length] = '\0';
    return text;
}

char* trim(char* text) {
    return trim_left(trim_right(text));
}

int str_starts_with(const char* text, const char* prefix) { return startsWith(text, prefix, false); }
int str_starts_with_nocase(const char* text, const char* prefix) { return startsWith(text, prefix, true); }
int str_ends_with(const char* text, const char* suffix) { return endsWith(text, suffix, false); }
int str_ends_with_nocase(const char* text, const char* suffix) { return endsWith(text, suffix, true); }
int str_equals(const char* a, const char* b) { return equalTexts(a, b, false); }
int str_equals_nocase(const char* a, const char* b) { return equalTexts(a, b, true); }

int str_has_non_ascii(const char* text) {
    if (!text) return 0;
    for (; *text; ++text)
        if (static_cast<unsigned char>(*text) & 0x80) return 1;
    return 0;
}

char* str_split_next(char** cursor, const char* delimiter) {
    if (!cursor || !*cursor) return nullptr;
    char* token = *cursor;
    char* found = delimiter && *delimiter ? std::strstr(token, delimiter) : nullptr;
    if (!found) {
        *cursor = nullptr;
        return token;
    }
    *found = '\0';
    *cursor = found + std::strlen(delimiter);
    return token;
}

char* str_sep(char** cursor, const char* delimiters) {
    if (!cursor || !*cursor) return nullptr;
    char* token = *cursor;
    char* end = delimiters ? token + std::strcspn(token, delimiters) : token + std::strlen(token);
    if (*end == '\0') {
        *cursor = nullptr;
    } else {
        *end = '\0';
        *cursor = end + 1;
    }
    return token;
}

const char* str_find_nocase(const char* text, const char* pattern) {
    if (!text || !pattern) return nullptr;
    std::size_t n = std::strlen(pattern);
    for (const char* start = text;; ++start) {
        std::size_t i = 0;
        while (i < n && start[i] && asciiLower(start[i]) == asciiLower(pattern[i])) ++i;
        if (i == n) return start;
        if (!*start) return nullptr;
    }
}

const char* str_find_last(const char* text, const char* pattern) {
    if (!text || !pattern) return nullptr;
    std::size_t length = std::strlen(text), n = std::strlen(pattern);
    if (n > length) return nullptr;
    for (std::size_t start = length - n + 1; start-- > 0;)
        if (std::memcmp(text + start, pattern, n) == 0) return text + start;
    return nullptr;
}

char* str_replace_char(const char* text, char byte, char newByte) {
    if (!text || !*text || byte == '\0' || !std::strchr(text, byte)) return nullptr;
    char* copy = heapCopy(text);
    for (char* p = copy; *p; ++p)
        if (*p == byte) *p = newByte;
    return copy;
}

char* str_replace_all(const char* text, const char* find, const char* replacement) {
    if (!text || !*text || !find || !*find || !replacement) return nullptr;
    const char* found = std::strstr(text, find);
    if (!found) return nullptr;
    std::size_t findLength = std::strlen(find);
    std::string result;
    const char* rest = text;
    for (; found; found = std::strstr(rest, find)) {
        result.append(rest, static_cast<std::size_t>(found - rest));
        result.append(replacement);
        rest = found + findLength;
    }
    result.append(rest);
    return heapCopyBytes(result.data(), result.size());
}

int isNumber(const char* text) { return matchesNumber(text, true, true); }
int isInteger(const char* text) { return matchesNumber(text, true, false); }
int isDigits(const char* text) { return matchesNumber(text, false, false); }

int int_pow(int a, int n) {
    if (n < 0) return 0;
    // Unsigned arithmetic wraps without undefined behaviour.
    std::uint32_t result = 1, base = static_cast<std::uint32_t>(a);
    for (unsigned e = static_cast<unsigned>(n); e; e >>= 1, base *= base)
        if (e & 1) result *= base;
    return static_cast<int>(result);
}

void random_init() {
    std::srand(static_cast<unsigned>(::syscall(SYS_gettid)));
}

int random_range(int a, int b) {
    if (b < a) std::swap(a, b);
    std::int64_t span = static_cast<std::int64_t>(b) - a + 1;
    return static_cast<int>(a + std::rand() % span);
}
