#include "foundation/charset.h"

#include "foundation/heap_alloc.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <memory>
#include <string>
#include <utility>

namespace {

// Owns one iconv descriptor.
class Converter {
public:
    Converter(const char* from, const char* to) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

constexpr std::size_t kFailed = static_cast<std::size_t>(-1);

std::string upper(const char* name) {
    std::string text(name);
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Width of the zero that terminates a text in the named encoding.
std::size_t terminatorWidth(const char* encoding) {
    std::string name = upper(encoding);
    if (name.find("UCS-4") != std::string::npos || name.find("UTF-32") != std::string::npos ||
        name.find("UCS4") != std::string::npos || name.find("UTF32") != std::string::npos ||
        name == "WCHAR_T")
        return 4;
    if (name.find("UCS-2") != std::string::npos || name.find("UTF-16") != std::string::npos ||
        name.find("UCS2") != std::string::npos || name.find("UTF16") != std::string::npos ||
        name.find("UNICODE") != std::string::npos)
        return 2;
    return 1;
}

// Byte length of the one valid character at the start of input, or 0 when
// input begins with an invalid or incomplete sequence. glibc reports both a
// character the target cannot hold and invalid input as EILSEQ; decoding
// the character alone tells them apart.
std::size_t validCharacterLength(Converter& decoder, const char* input, std::size_t left) {
    constexpr std::size_t kLongestCharacter = 8;
    for (std::size_t k = 1; k <= std::min(left, kLongestCharacter); ++k) {
        iconv(decoder.get(), nullptr, nullptr, nullptr, nullptr);
        char units[64];
        char* in = const_cast<char*>(input);
        std::size_t inLeft = k;
        char* out = units;
        std::size_t outLeft = sizeof units;
        std::size_t r = iconv(decoder.get(), &in, &inLeft, &out, &outLeft);
        if (r != kFailed && inLeft == 0) return k;
        if (r == kFailed && errno != EINVAL) return 0;
    }
    return 0;
}

char* convertToHeap(const char* from, const char* to, const char* text, std::size_t textLength,
                    std::size_t outputSize, std::size_t* outputLength) {
    char* output = heapCalloc<char>(outputSize);
    std::size_t written = 0;
    if (iconvStr(from, to, text, textLength, output, outputSize, &written) == -1) {
        std::free(output);
        return nullptr;
    }
    if (outputLength) *outputLength = written;
    return output;
}

const char* nativeUtf16() {
    return std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
}

// Length of the valid UTF-8 sequence at s (at most left bytes), 0 if none.
std::size_t utf8SequenceLength(const unsigned char* s, std::size_t left) {
    if (left == 0) return 0;
    unsigned char lead = s[0];
    std::size_t length;
    std::uint32_t minimum;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) { length = 2; minimum = 0x80; }
    else if (lead >= 0xE0 && lead <= 0xEF) { length = 3; minimum = 0x800; }
    else if (lead >= 0xF0 && lead <= 0xF4) { length = 4; minimum = 0x10000; }
    else return 0;
    if (left < length) return 0;
    std::uint32_t cp = lead & (0xFFu >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) {
        if ((s[i] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (s[i] & 0x3Fu);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

// Bytes of the longest prefix of text made of valid UTF-8 sequences.
// glibc's UTF-8 decoder cannot judge this: it also takes 4-byte forms above
// U+10FFFF and 5- and 6-byte forms, which GBK text often looks like.
std::size_t utf8ValidPrefix(const char* text, std::size_t length) {
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    std::size_t i = 0;
    while (i < length) {
        std::size_t step = utf8SequenceLength(s + i, length - i);
        if (step == 0) break;
        i += step;
    }
    return i;
}

bool isUtf8(const std::string& bytes) {
    return utf8ValidPrefix(bytes.data(), bytes.size()) == bytes.size();
}

// Whether encoding names UTF-8 (suffixes such as "//IGNORE" aside).
bool isUtf8Name(const char* encoding) {
    std::string name = upper(encoding);
    name = name.substr(0, name.find("//"));
    return name == "UTF-8" || name == "UTF8";
}

std::uint32_t utf8CodePoint(const unsigned char* s, std::size_t length) {
    if (length == 1) return s[0];
    std::uint32_t cp = s[0] & (0xFFu >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) cp = (cp << 6) | (s[i] & 0x3Fu);
    return cp;
}

// GBK length of the longest prefix of text that stays within maxLength (no
// limit when negative); bytes receives that prefix's byte length.
int measureGbk(const char* text, int maxLength, std::size_t* bytes) {
    int length = 0;
    std::size_t i = 0;
    if (text) {
        const auto* s = reinterpret_cast<const unsigned char*>(text);
        std::size_t n = std::strlen(text);
        while (i < n) {
            int width = s[i] < 0x80 ? 1 : 2;
            if (maxLength >= 0 && length + width > maxLength) break;
            std::size_t step = utf8SequenceLength(s + i, n - i);
            length += width;
            i += step ? step : 1;
        }
    }
    *bytes = i;
    return length;
}

int hexValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

int iconvStr(const char* fromCode, const char* toCode, const char* input, std::size_t inputLength,
             char* output, std::size_t outputSize, std::size_t* outputLength) {
    if (!fromCode || !toCode || (!input && inputLength) || (!output && outputSize)) return -1;
    Converter converter(fromCode, toCode);
    if (!converter.ok()) return -1;
    if (outputSize) std::memset(output, 0, outputSize);

    // UTF-8 input is judged by Unicode's rules, not glibc's: what comes
    // before the first invalid sequence is converted, then the call fails.
    bool invalidInput = false;
    if (isUtf8Name(fromCode)) {
        std::size_t valid = utf8ValidPrefix(input, inputLength);
        invalidInput = valid < inputLength;
        inputLength = valid;
    }

    std::size_t reserve = terminatorWidth(toCode);
    char* in = const_cast<char*>(input);
    std::size_t inLeft = inputLength;
    char* out = output;
    std::size_t outLeft = outputSize > reserve ? outputSize - reserve : 0;
    int result = 0;
    bool failed = false;
    Converter* decoder = nullptr;
    std::unique_ptr<Converter> decoderOwner;

    while (inLeft > 0) {
        std::size_t r = iconv(converter.get(), &in, &inLeft, &out, &outLeft);
        if (r != kFailed) {
            result += static_cast<int>(std::min<std::size_t>(r, 1u << 20));
            break;
        }
        if (errno != EILSEQ) {  // incomplete input or no room left
            failed = true;
            break;
        }
        if (!decoder) {
            decoderOwner = std::make_unique<Converter>(fromCode, "UCS-4LE");
            decoder = decoderOwner.get();
        }
        std::size_t skip = decoder->ok() ? validCharacterLength(*decoder, in, inLeft) : 0;
        if (skip == 0) {  // invalid input
            failed = true;
            break;
        }
        in += skip;  // a character the target cannot hold: drop it
        inLeft -= skip;
        ++result;
    }
    if (!failed && iconv(converter.get(), nullptr, nullptr, &out, &outLeft) == kFailed) failed = true;
    failed = failed || invalidInput;
    if (outputLength) *outputLength = static_cast<std::size_t>(out - output);
    return failed ? -1 : result;
}

bool utf8_or_gbk_to_utf8(const std::string& bytes, std::string& text) {
    if (isUtf8(bytes)) {
        text = bytes;
        return true;
    }
    // A GBK byte becomes at most three UTF-8 bytes (a lone 0x80 is the euro sign).
    std::string converted(3 * bytes.size() + 1, '\0');
    std::size_t length = 0;
    if (iconvStr("GBK", "UTF-8", bytes.data(), bytes.size(), converted.data(), converted.size(), &length) != 0)
        return false;
    converted.resize(length);
    text = std::move(converted);
    return true;
}

char* gbk_to_utf8(const char* text, std::size_t* outputLength) {
    if (!text) return nullptr;
    std::size_t n = std::strlen(text);
    // glibc maps a lone byte such as 0x80 to a 3-byte character.
    return convertToHeap("GBK", "UTF-8", text, n, 3 * n + 1, outputLength);
}

char* utf8_to_gbk(const char* text, std::size_t* outputLength) {
    if (!text) return nullptr;
    std::size_t n = std::strlen(text);
    return convertToHeap("UTF-8", "GBK", text, n, 2 * n + 1, outputLength);
}

char* gbk_to_ucs2le(const char* text, std::size_t* outputLength) {
    if (!text) return nullptr;
    std::size_t n = std::strlen(text);
    return convertToHeap("GBK", "UCS-2LE", text, n, 2 * n + 2, outputLength);
}

char* wide_to_ansi(const char16_t* text) {
    if (!text) return nullptr;
    std::size_t units = std::char_traits<char16_t>::length(text);
    return convertToHeap(nativeUtf16(), "UTF-8", reinterpret_cast<const char*>(text),
                         units * 2, 3 * units + 1, nullptr);
}

char16_t* ansi_to_wide(const char* text) {
    if (!text) return nullptr;
    std::size_t n = std::strlen(text);
    return reinterpret_cast<char16_t*>(
        convertToHeap("UTF-8", nativeUtf16(), text, n, 2 * n + 2, nullptr));
}

int decode_unicode_escapes(const char* text, char16_t* units, int mode) {
    if (!text) return 0;
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    std::size_t n = std::strlen(text);
    int count = 0;
    auto emit = [&](std::uint32_t unit) {
        if (mode == 2 && units) units[count] = static_cast<char16_t>(unit);
        ++count;
    };
    for (std::size_t i = 0; i < n;) {
        if (s[i] == '\\') {
            if (i + 1 < n && s[i + 1] == 'u') {
                // "\u" and four bytes: the hexadecimal digits at their start
                // name one unit ("\u41zz" is 'A'); the rest of the four is
                // skipped. No digit names no unit, rather than a NUL.
                std::uint32_t value = 0;
                std::size_t digits = 0;
                while (digits < 4 && i + 2 + digits < n && hexValue(s[i + 2 + digits]) >= 0) {
                    value = value * 16 + static_cast<std::uint32_t>(hexValue(s[i + 2 + digits]));
                    ++digits;
                }
                if (digits > 0) emit(value);
                i += 6;
            } else {
                i += 2;  // an escape that names no unit
            }
            continue;
        }
        std::size_t length = utf8SequenceLength(s + i, n - i);
        if (length <= 1) {
            emit(s[i]);
            ++i;
            continue;
        }
        std::uint32_t cp = utf8CodePoint(s + i, length);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            emit(0xD800 + (cp >> 10));
            emit(0xDC00 + (cp & 0x3FF));
        } else {
            emit(cp);
        }
        i += length;
    }
    return count;
}

char* unicode_escapes_to_ansi(const char* text) {
    if (!text || std::strlen(text) < 3 || text[0] != '\\' || (text[1] != 'u' && text[1] != 'U'))
        return nullptr;
    int count = decode_unicode_escapes(text, nullptr, 1);
    auto* units = heapCalloc<char16_t>(static_cast<std::size_t>(count) + 1);
    decode_unicode_escapes(text, units, 2);
    units[count] = 0;
    char* ansi = wide_to_ansi(units);
    std::free(units);
    return ansi;
}

int gbk_length(const char* text) {
    std::size_t bytes = 0;
    return measureGbk(text, -1, &bytes);
}

std::size_t gbk_prefix_bytes(const char* text, int maxLength) {
    std::size_t bytes = 0;
    measureGbk(text, maxLength, &bytes);
    return bytes;
}
