#include "foundation/charset.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// "中文" in GBK and in UTF-8.
const char kGbkChinese[] = "\xD6\xD0\xCE\xC4";
const char kUtf8Chinese[] = "中文";

std::string takeText(char* heap) {
    std::string text = heap ? heap : "<null>";
    std::free(heap);
    return text;
}

} // namespace

TEST(Charset, UnknownEncodingLeavesOutputUntouched) {
    char out[8];
    std::memset(out, 'Q', sizeof out);
    std::size_t length = 77;
    EXPECT_EQ(iconvStr("UTF-8", "NO-SUCH-CODE", "abc", 3, out, sizeof out, &length), -1);
    EXPECT_EQ(length, 77u);
    EXPECT_EQ(std::string(out, sizeof out), "QQQQQQQQ");
}

TEST(Charset, EmptyInputGivesZeroedBuffer) {
    char out[4] = {1, 2, 3, 4};
    std::size_t length = 9;
    EXPECT_EQ(iconvStr("GBK", "UTF-8", "", 0, out, sizeof out, &length), 0);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(std::memcmp(out, "\0\0\0\0", 4), 0);
}

TEST(Charset, GbkAndUtf8RoundTrip) {
    std::size_t length = 0;
    char* utf8 = gbk_to_utf8(kGbkChinese, &length);
    EXPECT_EQ(length, 6u);
    EXPECT_EQ(takeText(utf8), kUtf8Chinese);
    char* gbk = utf8_to_gbk("a中文b", &length);
    EXPECT_EQ(length, 6u);
    EXPECT_EQ(takeText(gbk), std::string("a") + kGbkChinese + "b");
    EXPECT_EQ(gbk_to_utf8(nullptr, &length), nullptr);
}

TEST(Charset, WorstCaseGbkByteStillFits) {
    // glibc decodes the lone GBK byte 0x80 as a 3-byte UTF-8 character.
    std::size_t length = 0;
    std::string text = takeText(gbk_to_utf8("\x80\x80\x80", &length));
    EXPECT_EQ(length, 9u);
    EXPECT_EQ(text.size(), 9u);
}

TEST(Charset, InvalidInputFailsAndReportsBytesBefore) {
    char out[32];
    std::size_t length = 0;
    // A lead byte followed by a byte that cannot trail it.
    const char bad[] = "ab\xD6\xD0\x81\x20z";
    EXPECT_EQ(iconvStr("GBK", "UTF-8", bad, std::strlen(bad), out, sizeof out, &length), -1);
    EXPECT_EQ(length, 5u);  // "ab" + "中"
    EXPECT_STREQ(out, "ab中");
    EXPECT_EQ(gbk_to_utf8(bad, nullptr), nullptr);
    // An incomplete character at the end is invalid too.
    EXPECT_EQ(iconvStr("GBK", "UTF-8", "a\xD6", 2, out, sizeof out, &length), -1);
    EXPECT_EQ(length, 1u);
    // Malformed UTF-8 is not silently skipped, nor passed on where glibc
    // would take it (U+110000 here).
    EXPECT_EQ(utf8_to_gbk("a\xFF" "b", nullptr), nullptr);
    EXPECT_EQ(iconvStr("UTF-8", "UTF-8", "ab\xF4\x90\x80\x80z", 7, out, sizeof out, &length), -1);
    EXPECT_EQ(length, 2u);
    EXPECT_STREQ(out, "ab");
}

TEST(Charset, CharactersTheTargetCannotHoldAreDropped) {
    char out[32];
    std::size_t length = 0;
    const char text[] = "a😀中é\xE2\x82\xAC" "b";  // no emoji in GBK; é and € exist there
    int result = iconvStr("UTF-8", "GBK", text, std::strlen(text), out, sizeof out, &length);
    EXPECT_GE(result, 1);
    char* back = gbk_to_utf8(out, nullptr);
    EXPECT_EQ(takeText(back), "a中é€b");
}

TEST(Charset, ResultIsAlwaysTerminated) {
    char out[4];
    std::size_t length = 0;
    EXPECT_EQ(iconvStr("UTF-8", "UTF-8", "abcd", 4, out, sizeof out, &length), -1);
    EXPECT_EQ(length, 3u);
    EXPECT_EQ(out[3], '\0');
    EXPECT_EQ(iconvStr("UTF-8", "UTF-8", "abc", 3, out, sizeof out, &length), 0);
    EXPECT_STREQ(out, "abc");

    char units[6];  // "ab" needs 4 bytes plus a 2-byte zero unit
    EXPECT_EQ(iconvStr("UTF-8", "UCS-2LE", "ab", 2, units, sizeof units, &length), 0);
    EXPECT_EQ(length, 4u);
    EXPECT_EQ(iconvStr("UTF-8", "UCS-2LE", "abc", 3, units, sizeof units, &length), -1);
    EXPECT_EQ(units[4], 0);
    EXPECT_EQ(units[5], 0);

    std::size_t ucsLength = 0;
    char* ucs = gbk_to_ucs2le(kGbkChinese, &ucsLength);
    ASSERT_NE(ucs, nullptr);
    EXPECT_EQ(ucsLength, 4u);
    EXPECT_EQ(std::memcmp(ucs, "\x2D\x4E\x87\x65\0\0", 6), 0);
    std::free(ucs);
}

TEST(Charset, TextWithoutCharsetIsUtf8OnlyWhenStrictlyValid) {
    struct Case {
        std::string bytes;
        bool ok;
        std::string text;
    };
    const Case cases[] = {
        {"a中文😀\xF4\x8F\xBF\xBF", true, "a中文😀\xF4\x8F\xBF\xBF"},  // up to U+10FFFF
        {"\xF6\xA1\xB0\xA1", true, "觥啊"},            // GBK, a 4-byte form above U+10FFFF
        {"\xF4\x90\x80\x80", true, "魫€€"},            // GBK, U+110000
        {"\xF8\x88\x80\x80\x80", true, "鴪€€€"},      // GBK, a 5-byte form
        {"\xC0\xAF", true, "蜡"},                        // GBK, an overlong '/'
        {"100\x80", true, "100€"},                       // GBK, only the last byte is not UTF-8
        {"\xED\xA0\x80", true, "頎€"},                  // GBK, a surrogate
        {"\xFC\xBD\x86\x82\x9F\x9F", false, "kept"},  // neither: a 6-byte form
    };
    for (const Case& c : cases) {
        std::string text = "kept";
        EXPECT_EQ(utf8_or_gbk_to_utf8(c.bytes, text), c.ok) << c.text;
        EXPECT_EQ(text, c.text);
    }
}

TEST(Charset, WideAndAnsiConversions) {
    char16_t* wide = ansi_to_wide("a中😀");
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide[0], u'a');
    EXPECT_EQ(wide[1], u'中');
    EXPECT_EQ(wide[2], 0xD83D);
    EXPECT_EQ(wide[3], 0xDE00);
    EXPECT_EQ(wide[4], 0);
    EXPECT_EQ(takeText(wide_to_ansi(wide)), "a中😀");
    std::free(wide);
    EXPECT_EQ(wide_to_ansi(nullptr), nullptr);

    // The highest and lowest code points of each length convert; anything
    // UTF-8 does not allow fails, even where glibc's decoder takes it.
    for (const char* valid : {"\x7F", "\xC2\x80", "\xEF\xBF\xBF", "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF"}) {
        wide = ansi_to_wide(valid);
        EXPECT_NE(wide, nullptr) << valid;
        std::free(wide);
    }
    for (const char* invalid : {"a\xF4\x90\x80\x80", "a\xF5\x80\x80\x80", "a\xF7\xBF\xBF\xBF",
                                "a\xF8\x88\x80\x80\x80", "a\xFC\x84\x80\x80\x80\x80", "a\xED\xA0\x80",
                                "a\xC0\xAF", "a\x80", "a\xE4\xB8"}) {
        wide = ansi_to_wide(invalid);
        EXPECT_EQ(wide, nullptr) << invalid;
        std::free(wide);
        EXPECT_EQ(takeText(utf8_to_gbk(invalid, nullptr)), "<null>") << invalid;
    }
}

TEST(Charset, UnicodeEscapesDecodeStrictly) {
    char16_t units[16];
    EXPECT_EQ(decode_unicode_escapes("", units, 2), 0);
    EXPECT_EQ(decode_unicode_escapes("\\n", units, 2), 0);
    EXPECT_EQ(decode_unicode_escapes("\\", units, 2), 0);
    ASSERT_EQ(decode_unicode_escapes("\\u4e2dx", units, 2), 2);
    EXPECT_EQ(units[0], 0x4e2d);
    EXPECT_EQ(units[1], u'x');
    // Short escapes read only the digits present, never past the end.
    ASSERT_EQ(decode_unicode_escapes("\\u4", units, 2), 1);
    EXPECT_EQ(units[0], 0x4);
    // An escape always takes six bytes: digits after a non-digit are skipped.
    ASSERT_EQ(decode_unicode_escapes("\\u41zzx", units, 2), 2);
    EXPECT_EQ(units[0], 0x41);
    EXPECT_EQ(units[1], u'x');
    ASSERT_EQ(decode_unicode_escapes("\\u4e2d9", units, 2), 2);
    EXPECT_EQ(units[0], 0x4e2d);
    EXPECT_EQ(units[1], u'9');
    // No digits at all: the escape names nothing; "+1" is not hexadecimal.
    ASSERT_EQ(decode_unicode_escapes("\\u+1ab!", units, 2), 1);
    EXPECT_EQ(units[0], u'!');
    // Counting agrees with decoding.
    EXPECT_EQ(decode_unicode_escapes("\\u4e2d中\\u0041", nullptr, 1), 3);

    EXPECT_EQ(unicode_escapes_to_ansi("abc"), nullptr);
    EXPECT_EQ(unicode_escapes_to_ansi("\\u"), nullptr);
    EXPECT_EQ(takeText(unicode_escapes_to_ansi("\\u4e2d\\u6587")), kUtf8Chinese);
    EXPECT_EQ(takeText(unicode_escapes_to_ansi("\\U0041b")), "0041b");  // only "\u" is an escape
    EXPECT_EQ(takeText(unicode_escapes_to_ansi("\\ud83d\\ude00")), "😀");
}

TEST(Charset, GbkLengthCountsTwoPerNonAsciiCharacter) {
    EXPECT_EQ(gbk_length(""), 0);
    EXPECT_EQ(gbk_length("abc"), 3);
    EXPECT_EQ(gbk_length("a中b"), 4);
    EXPECT_EQ(gbk_length("😀"), 2);
    EXPECT_EQ(gbk_length("a\xFF"), 3);
    EXPECT_EQ(gbk_prefix_bytes("a中b", 2), 1u);
    EXPECT_EQ(gbk_prefix_bytes("a中b", 3), 4u);
    EXPECT_EQ(gbk_prefix_bytes("a中b", 100), 5u);
    EXPECT_EQ(gbk_prefix_bytes("中", 1), 0u);
}
