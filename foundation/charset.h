// Conversions between character sets, over iconv, and the GBK length rule
// that every stated length limit is measured with.
//
// Text is UTF-8 inside; GBK conversions are used where GBK text crosses in
// (GBK-encoded files, as Chinese Windows programs write them, and replies
// that declare GBK). The "ANSI code page" of this platform is UTF-8.
#pragma once

#include <cstddef>
#include <string>

// Converts inputLength bytes from fromCode to toCode into output
// (outputSize bytes, filled with zeros first). Characters the target cannot
// hold are dropped; the result always ends in a terminator of the target's
// width (one byte, or a zero unit for UCS-2/UTF-16 and UCS-4/UTF-32).
// Returns -1 when a name is unknown (output untouched), when the input holds
// an invalid or incomplete sequence (for UTF-8 input by Unicode's rules:
// nothing above U+10FFFF, no surrogates, no overlong or 5- and 6-byte
// forms), or when the result does not fit with its terminator;
// outputLength then holds the bytes written before the failure. Otherwise
// returns the number of characters dropped or converted irreversibly
// (normally 0). Safe on several threads at once.
int iconvStr(const char* fromCode, const char* toCode, const char* input, std::size_t inputLength,
             char* output, std::size_t outputSize, std::size_t* outputLength);

// Text that comes in without a stated charset, as UTF-8: valid UTF-8 is
// kept as it is, anything else is read whole as GBK. False, with text
// untouched, when the bytes are neither.
bool utf8_or_gbk_to_utf8(const std::string& bytes, std::string& text);

// Allocating wrappers over iconvStr: a terminated heap text the caller frees
// with free(), or null when text is null or the conversion fails.
// outputLength (may be null) receives the converted length in bytes.
char* gbk_to_utf8(const char* text, std::size_t* outputLength);
char* utf8_to_gbk(const char* text, std::size_t* outputLength);
char* gbk_to_ucs2le(const char* text, std::size_t* outputLength);

// Between the ANSI code page (UTF-8 here) and UTF-16 text in native byte
// order. Heap results freed by the caller; null for null or invalid input.
char* wide_to_ansi(const char16_t* text);
char16_t* ansi_to_wide(const char* text);

// Counts (mode 1) or also stores into units (mode 2) the UTF-16 units the
// text describes: "\u" takes the four bytes after it and gives one unit
// from the hexadecimal digits they begin with (none: no unit; never read
// past the end), a backslash followed by anything else gives nothing,
// UTF-8 characters give their units, any other byte one unit of its value.
int decode_unicode_escapes(const char* text, char16_t* units, int mode);

// A text beginning with "\u" or "\U" decoded into a heap ANSI text; null for
// anything else.
char* unicode_escapes_to_ansi(const char* text);

// Length of a UTF-8 text as the GBK text it stands for: 1 per ASCII
// character, 2 per other character (a stray byte counts as one character).
int gbk_length(const char* text);

// Bytes of the longest prefix of text whose GBK length is at most maxLength;
// the cut falls on a character boundary.
std::size_t gbk_prefix_bytes(const char* text, int maxLength);
