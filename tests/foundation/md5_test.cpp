#include "foundation/md5.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

std::string hexOf(const unsigned char* digest) {
    char text[33];
    for (int i = 0; i < 16; ++i) std::snprintf(text + 2 * i, 3, "%02X", digest[i]);
    return text;
}

std::string opensslMd5(const std::vector<unsigned char>& data) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(data.data(), data.size(), digest, &length, EVP_md5(), nullptr);
    return hexOf(digest);
}

std::string ourMd5(const std::vector<unsigned char>& data) {
    char text[33];
    EXPECT_EQ(md5_hex(data.data(), data.size(), text), 32);
    return text;
}

} // namespace

TEST(Md5, RfcTestSuiteInUpperCase) {
    char text[33];
    md5_hex("", 0, text);
    EXPECT_STREQ(text, "D41D8CD98F00B204E9800998ECF8427E");
    md5_hex("abc", 3, text);
    EXPECT_STREQ(text, "900150983CD24FB0D6963F7D28E17F72");
    std::string digits = "12345678901234567890123456789012345678901234567890123456789012345678901234567890";
    md5_hex(digits.data(), digits.size(), text);
    EXPECT_STREQ(text, "57EDF4A22BE3C955AC49DA2E2107B67A");
}

TEST(Md5, MatchesOpensslAcrossPaddingBoundaries) {
    std::mt19937 random(42);
    for (std::size_t length : {1u, 55u, 56u, 57u, 63u, 64u, 65u, 119u, 120u, 128u, 1000u, 70000u}) {
        std::vector<unsigned char> data(length);
        for (auto& byte : data) byte = static_cast<unsigned char>(random());
        EXPECT_EQ(ourMd5(data), opensslMd5(data)) << length;
    }
}

TEST(Md5, PiecewiseUpdatesEqualOneUpdate) {
    std::mt19937 random(7);
    std::vector<unsigned char> data(5000);
    for (auto& byte : data) byte = static_cast<unsigned char>(random());
    Md5Context context;
    md5_init(&context);
    std::size_t at = 0;
    while (at < data.size()) {
        std::size_t piece = std::min<std::size_t>(random() % 150, data.size() - at);
        md5_update(&context, data.data() + at, piece);
        at += piece;
    }
    unsigned char digest[16];
    md5_final(&context, digest);
    EXPECT_EQ(hexOf(digest), opensslMd5(data));
}
