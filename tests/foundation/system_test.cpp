#include "foundation/local_time.h"
#include "foundation/system_info.h"

#include <gtest/gtest.h>

#include <sys/utsname.h>

#include <cstdio>
#include <cstring>
#include <regex>
#include <string>

TEST(LocalTime, FormattersStayInsideTheirBuffers) {
    char full[32];
    EXPECT_EQ(format_local_datetime(full, sizeof full), 19u);
    EXPECT_TRUE(std::regex_match(full, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)"))) << full;
    EXPECT_EQ(std::atoi(full), get_current_year());

    char date[11];
    EXPECT_EQ(format_local_date(date, sizeof date), 10u);
    EXPECT_EQ(std::strncmp(date, full, 10), 0);
    EXPECT_EQ(date[10], '\0');

    char small[10];
    std::memset(small, 'Q', sizeof small);
    EXPECT_EQ(format_local_date(small, sizeof small), 19u);
    EXPECT_EQ(std::string(small, sizeof small), std::string(10, 'Q'));

    char tiny[5];
    EXPECT_EQ(format_local_datetime(tiny, sizeof tiny), 0u);
    EXPECT_EQ(tiny[0], '\0');
    EXPECT_EQ(format_local_datetime(tiny, 0), 0u);

    char time[9];
    EXPECT_EQ(format_local_time(time, sizeof time), 8u);
    EXPECT_TRUE(std::regex_match(time, std::regex(R"(\d\d:\d\d:\d\d)")));

    EXPECT_GE(get_current_month(), 1);
    EXPECT_LE(get_current_month(), 12);
    EXPECT_LE(get_current_hour(), 23);
}

TEST(SystemInfo, ProcessorSignatureAndVersion) {
    char signature[64];
    int written = getProcessorSignature(signature, sizeof signature);
    EXPECT_EQ(written, static_cast<int>(std::strlen(signature)));
    std::smatch match;
    std::string text = signature;
    ASSERT_TRUE(std::regex_match(text, match, std::regex(R"((\d+)-(\d+)-(\d+)-(\d+))"))) << text;
    EXPECT_EQ(std::stoi(match[4]), getProcessorCount());
#if defined(__x86_64__)
    EXPECT_EQ(match[1], "9");
    EXPECT_GT(std::stoi(match[3]), 0);  // the processor family
#endif
    char tiny[4];
    EXPECT_EQ(getProcessorSignature(tiny, sizeof tiny), 3);
    EXPECT_EQ(tiny[3], '\0');

    unsigned major = 0, minor = 99, build = 99;
    EXPECT_EQ(getWindowsVersion(&major, nullptr, nullptr), 1);
    utsname name{};
    ::uname(&name);
    EXPECT_EQ(major, static_cast<unsigned>(std::atoi(name.release)));
    EXPECT_EQ(getWindowsVersion(nullptr, &minor, &build), 1);
    EXPECT_NE(minor, 99u);
}
