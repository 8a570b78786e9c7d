#include "foundation/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string take(char* heap) {
    std::string text = heap ? heap : "<null>";
    std::free(heap);
    return text;
}

std::vector<std::string> splitAll(std::string text, const char* delimiter, bool set) {
    std::vector<std::string> tokens;
    char* cursor = text.data();
    while (char* token = set ? str_sep(&cursor, delimiter) : str_split_next(&cursor, delimiter))
        tokens.emplace_back(token);
    return tokens;
}

} // namespace

TEST(Text, TrimWorksInPlaceOnBlankBytesOnly) {
    char text[] = "\t a b \r\n";
    char* trimmed = trim(text);
    EXPECT_STREQ(trimmed, "a b");
    EXPECT_EQ(trimmed, text + 2);
    char spaces[] = "   ";
    EXPECT_STREQ(trim(spaces), "");
    char empty[] = "";
    EXPECT_EQ(trim(empty), empty);
    char vertical[] = "a\v";
    EXPECT_STREQ(trim_right(vertical), "a\v");
    char left[] = "  x ";
    EXPECT_STREQ(trim_left(left), "x ");
    EXPECT_STREQ(left, "  x ");  // trim_left writes nothing
}

TEST(Text, PrefixSuffixAndEquality) {
    EXPECT_EQ(str_starts_with("abc", ""), 0);
    EXPECT_EQ(str_starts_with("", ""), 1);
    EXPECT_EQ(str_starts_with("ab", "abc"), 0);
    EXPECT_EQ(str_starts_with_nocase("HTTP/1.1", "http/"), 1);
    EXPECT_EQ(str_ends_with("abc", "bc"), 1);
    EXPECT_EQ(str_ends_with("bc", "abc"), 0);
    EXPECT_EQ(str_ends_with("abc", ""), 0);
    EXPECT_EQ(str_ends_with_nocase("photo.JPG", ".jpg"), 1);
    EXPECT_EQ(str_equals(nullptr, nullptr), 1);
    EXPECT_EQ(str_equals("a", nullptr), 0);
    EXPECT_EQ(str_equals("ab", "abc"), 0);
    EXPECT_EQ(str_equals_nocase("Chunked", "CHUNKED"), 1);
    EXPECT_EQ(str_has_non_ascii("abc"), 0);
    EXPECT_EQ(str_has_non_ascii("a中"), 1);
}

TEST(Text, CaseFoldingTouchesAsciiLettersOnly) {
    // Bytes 32 apart that are not letters must not match.
    EXPECT_EQ(str_equals_nocase("0", "P"), 0);
    EXPECT_EQ(str_equals_nocase("@", "`"), 0);
    EXPECT_EQ(str_find_nocase("[x]", "{X}"), nullptr);
    // UTF-8 continuation bytes are not folded into other characters.
    EXPECT_EQ(str_equals_nocase("\xC3\xA9", "\xC3\x89"), 0);
    EXPECT_EQ(str_starts_with_nocase("\xE4\xB8\xAD", "\xE4\xB8\x8D"), 0);
}

TEST(Text, SplittingTerminates) {
    EXPECT_EQ(splitAll("a||b", "||", false), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(splitAll("a,,b", ",", true), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(splitAll("ab", "", false), (std::vector<std::string>{"ab"}));
    EXPECT_EQ(splitAll("ab", "", true), (std::vector<std::string>{"ab"}));
    EXPECT_EQ(splitAll("a\r\n", "\r\n", false), (std::vector<std::string>{"a", ""}));
    char* cursor = nullptr;
    EXPECT_EQ(str_split_next(&cursor, ","), nullptr);
    EXPECT_EQ(str_split_next(nullptr, ","), nullptr);
}

TEST(Text, Searching) {
    const char header[] = "Content-Length: 5";
    EXPECT_EQ(str_find_nocase(header, "content-length"), header);
    EXPECT_EQ(str_find_nocase(header, "LENGTH"), header + 8);
    EXPECT_EQ(str_find_nocase(header, ""), header);
    EXPECT_EQ(str_find_nocase("abc", "abcd"), nullptr);
    const char path[] = "a/b/c";
    EXPECT_EQ(str_find_last(path, "/"), path + 3);
    EXPECT_EQ(str_find_last(path, "x"), nullptr);
    EXPECT_EQ(str_find_last("a", "abc"), nullptr);
    // A match that ends the text, or is the whole text, is found.
    const char name[] = "x.jpg.jpg";
    EXPECT_EQ(str_find_last(name, ".jpg"), name + 5);
    EXPECT_EQ(str_find_last(name, name), name);
}

TEST(Text, Replacing) {
    EXPECT_EQ(take(str_replace_all("aaa", "aa", "b")), "ba");
    EXPECT_EQ(take(str_replace_all("a.b.c", ".", "::")), "a::b::c");
    EXPECT_EQ(take(str_replace_all("xyx", "x", "")), "y");
    EXPECT_EQ(str_replace_all("abc", "z", "y"), nullptr);
    EXPECT_EQ(str_replace_all("abc", "", "y"), nullptr);
    EXPECT_EQ(str_replace_all("abc", "a", nullptr), nullptr);
    std::string many(1000, 'q');  // more occurrences than one table's worth
    EXPECT_EQ(take(str_replace_all(many.c_str(), "q", "ab")).size(), 2000u);
    EXPECT_EQ(take(str_replace_char("a\\b\\c", '\\', '/')), "a/b/c");
    EXPECT_EQ(str_replace_char("abc", 'z', 'y'), nullptr);
    EXPECT_EQ(str_replace_char("", 'a', 'b'), nullptr);
    EXPECT_EQ(str_replace_char("abc", '\0', 'b'), nullptr);
}

TEST(Text, NumberTests) {
    for (const char* good : {"3", "-3", "3.", "3.25", "-0.5"}) EXPECT_EQ(isNumber(good), 1) << good;
    for (const char* bad : {"", "-", ".5", "-.5", "3.2.1", "1e5", " 3"}) EXPECT_EQ(isNumber(bad), 0) << bad;
    EXPECT_EQ(isInteger("-12"), 1);
    EXPECT_EQ(isInteger("1.0"), 0);
    EXPECT_EQ(isInteger("-"), 0);
    EXPECT_EQ(isDigits("007"), 1);
    EXPECT_EQ(isDigits("-7"), 0);
    EXPECT_EQ(isDigits(""), 0);
    EXPECT_EQ(isNumber(nullptr), 0);
}

TEST(Text, IntPowWrapsWithoutOverflow) {
    EXPECT_EQ(int_pow(2, 31), INT_MIN);
    EXPECT_EQ(int_pow(2, 32), 0);
    EXPECT_EQ(int_pow(10, 3), 1000);
    EXPECT_EQ(int_pow(-3, 3), -27);
    EXPECT_EQ(int_pow(5, 0), 1);
    EXPECT_EQ(int_pow(5, -1), 0);
    EXPECT_EQ(int_pow(3, 40), static_cast<int>(0x291FE821u));  // 3^40 mod 2^32
}

TEST(Text, RandomRangeStaysInBounds) {
    random_init();
    bool sawLow = false, sawHigh = false;
    for (int i = 0; i < 2000; ++i) {
        int value = random_range(5, 1);
        ASSERT_GE(value, 1);
        ASSERT_LE(value, 5);
        sawLow |= value == 1;
        sawHigh |= value == 5;
    }
    EXPECT_TRUE(sawLow && sawHigh);
    for (int i = 0; i < 100; ++i) {
        int wide = random_range(INT_MIN, INT_MAX);  // span would overflow an int
        (void)wide;
        int value = random_range(INT_MAX - 1, INT_MAX);
        ASSERT_GE(value, INT_MAX - 1);
    }
    EXPECT_EQ(random_range(7, 7), 7);
}
