#include "foundation/registry.h"
#include "foundation/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

const char kKey[] = "SOFTWARE\\Vessoranthe";

class Registry : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1); }
    std::string storeFile() const { return config / "Vessoranthe/preferences"; }
    TempFolder config;
};

} // namespace

TEST_F(Registry, DwordWriteCreatesKeyAndReadsBack) {
    int value = 42;
    EXPECT_EQ(read_registry_dword(HKEY_CURRENT_USER, kKey, "video_bg_fill_color", &value), 0);
    EXPECT_EQ(value, 42);  // a missing value leaves the output alone
    EXPECT_EQ(write_registry_dword(HKEY_CURRENT_USER, kKey, "video_bg_fill_color", 1), 1);
    EXPECT_TRUE(std::filesystem::exists(storeFile()));
    EXPECT_EQ(read_registry_dword(HKEY_CURRENT_USER, kKey, "video_bg_fill_color", &value), 1);
    EXPECT_EQ(value, 1);
    EXPECT_EQ(write_registry_dword(HKEY_CURRENT_USER, kKey, "mp4_default_width", static_cast<std::uint32_t>(-1)), 1);
    EXPECT_EQ(read_registry_dword(HKEY_CURRENT_USER, kKey, "mp4_default_width", &value), 1);
    EXPECT_EQ(value, -1);
    // Nothing but the store and its lock is left in the folder.
    int files = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(config / "Vessoranthe")) ++files;
    EXPECT_EQ(files, 2);
}

TEST_F(Registry, StringReadsCheckTypeSizeAndTerminate) {
    const std::string folder = "/home/用户/图片\twith\ttabs\nand \\ breaks";
    ASSERT_EQ(write_registry_string(HKEY_CURRENT_USER, kKey, "file_dlg_choose_image", folder.c_str(),
                                    static_cast<unsigned>(folder.size() + 1)), 1);
    char buffer[260];
    std::memset(buffer, 'Q', sizeof buffer);
    unsigned size = sizeof buffer;
    EXPECT_EQ(read_registry_string(HKEY_CURRENT_USER, kKey, "file_dlg_choose_image", buffer, &size), 1);
    EXPECT_EQ(std::string(buffer), folder);
    EXPECT_EQ(size, folder.size() + 1);

    char small[8];
    std::memset(small, 'Q', sizeof small);
    unsigned smallSize = sizeof small;
    EXPECT_EQ(read_registry_string(HKEY_CURRENT_USER, kKey, "file_dlg_choose_image", small, &smallSize), 0);
    EXPECT_EQ(smallSize, folder.size() + 1);
    EXPECT_EQ(std::string(small, sizeof small), std::string(8, 'Q'));

    // A byte count without the terminator still stores a terminated text.
    ASSERT_EQ(write_registry_string(HKEY_CURRENT_USER, kKey, "usid", "abcdef", 3), 1);
    size = sizeof buffer;
    EXPECT_EQ(read_registry_string(HKEY_CURRENT_USER, kKey, "usid", buffer, &size), 1);
    EXPECT_STREQ(buffer, "abc");

    // Types are kept: a number is not read as a text, nor a text as a number.
    write_registry_dword(HKEY_CURRENT_USER, kKey, "mp4_video_bitrate", 2);
    size = sizeof buffer;
    EXPECT_EQ(read_registry_string(HKEY_CURRENT_USER, kKey, "mp4_video_bitrate", buffer, &size), 0);
    int number = 7;
    EXPECT_EQ(read_registry_dword(HKEY_CURRENT_USER, kKey, "usid", &number), 0);
    EXPECT_EQ(number, 7);
    std::uint64_t wide = 0;
    EXPECT_EQ(read_registry_qword(HKEY_CURRENT_USER, kKey, "mp4_video_bitrate", &wide), 0);
}

TEST_F(Registry, ValuesKeepNamesAndTypesAcrossRewrites) {
    const std::vector<std::string> folders = {"file_dlg_choose_image", "file_dlg_choose_mp3",
                                              "file_dlg_choose_save_video", "file_dlg_choose_logo"};
    for (const std::string& name : folders)
        write_registry_string(HKEY_CURRENT_USER, kKey, name.c_str(), ("/f/" + name).c_str(),
                              static_cast<unsigned>(name.size() + 4));
    const std::vector<std::pair<std::string, int>> numbers = {
        {"video_bg_fill_color", 1}, {"mp4_default_file_name", 2}, {"mp4_video_bitrate", 3},
        {"watermark_margin_center_bottom", 1500}, {"watermark_margin_left", 600},
        {"mp4_default_width", 1080}, {"mp4_default_height", 1440}};
    for (const auto& [name, value] : numbers)
        write_registry_dword(HKEY_CURRENT_USER, kKey, name.c_str(), static_cast<std::uint32_t>(value));
    write_registry_qword(HKEY_CURRENT_USER, kKey, "big", 0x100000001ull);
    write_registry_dword(HKEY_CURRENT_USER, kKey, "mp4_video_bitrate", 1);  // rewrite in place

    for (const std::string& name : folders) {
        char buffer[64];
        unsigned size = sizeof buffer;
        ASSERT_EQ(read_registry_string(HKEY_CURRENT_USER, kKey, name.c_str(), buffer, &size), 1) << name;
        EXPECT_EQ(std::string(buffer), "/f/" + name);
    }
    for (const auto& [name, value] : numbers) {
        int read = -5;
        ASSERT_EQ(read_registry_dword(HKEY_CURRENT_USER, kKey, name.c_str(), &read), 1) << name;
        EXPECT_EQ(read, name == "mp4_video_bitrate" ? 1 : value) << name;
    }
    std::uint64_t wide = 0;
    EXPECT_EQ(read_registry_qword(HKEY_CURRENT_USER, kKey, "big", &wide), 1);
    EXPECT_EQ(wide, 0x100000001ull);
}

TEST_F(Registry, DamagedLinesAreIgnored) {
    write_registry_dword(HKEY_CURRENT_USER, kKey, "mp4_video_bitrate", 2);
    {
        std::ofstream damage(storeFile(), std::ios::app);
        damage << "garbage line\nmp4_default_width\tdword\t-3\nbad\tdword\t99999999999\n"
               << "x\tfloat\t1\nhalf\tsz\tend\\\n";
    }
    int value = 0;
    EXPECT_EQ(read_registry_dword(HKEY_CURRENT_USER, kKey, "mp4_video_bitrate", &value), 1);
    EXPECT_EQ(value, 2);
    EXPECT_EQ(read_registry_dword(HKEY_CURRENT_USER, kKey, "mp4_default_width", &value), 0);
    EXPECT_EQ(read_registry_dword(HKEY_CURRENT_USER, kKey, "bad", &value), 0);
    char buffer[16];
    unsigned size = sizeof buffer;
    EXPECT_EQ(read_registry_string(HKEY_CURRENT_USER, kKey, "half", buffer, &size), 0);
    // A later write keeps the good values.
    write_registry_dword(HKEY_CURRENT_USER, kKey, "video_bg_fill_color", 1);
    EXPECT_EQ(read_registry_dword(HKEY_CURRENT_USER, kKey, "mp4_video_bitrate", &value), 1);
}

TEST_F(Registry, NumbersAreDecimalDigitsAndCrlfLinesKeepTheirValues) {
    const struct {
        const char* type;
        const char* text;  // as the store file holds it
        bool read;
        std::uint64_t value;
    } cases[] = {
        {"dword", "800\r", true, 800},
        {"dword", "0640", true, 640},
        {"dword", "4294967295", true, 4294967295u},
        {"qword", "18446744073709551615", true, 18446744073709551615u},
        {"dword", "0x10", false, 0},
        {"qword", " -1", false, 0},
        {"dword", " 7", false, 0},
        {"dword", "+7", false, 0},
        {"dword", "7 ", false, 0},
        {"dword", "", false, 0},
        {"dword", "4294967296", false, 0},
        {"qword", "18446744073709551616", false, 0},
    };
    write_registry_dword(HKEY_CURRENT_USER, kKey, "v", 0);  // makes the store's folder
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " [" + c.text + "]");
        std::ofstream(storeFile(), std::ios::trunc) << "v\t" << c.type << "\t" << c.text << "\n";
        std::uint64_t value = 0;
        int read = 0;
        if (std::strcmp(c.type, "qword") == 0) {
            read = read_registry_qword(HKEY_CURRENT_USER, kKey, "v", &value);
        } else {
            int dword = 0;
            read = read_registry_dword(HKEY_CURRENT_USER, kKey, "v", &dword);
            value = static_cast<std::uint32_t>(dword);
        }
        EXPECT_EQ(read == 1, c.read);
        EXPECT_EQ(value, c.value);
    }
    std::ofstream(storeFile(), std::ios::trunc) << "name\tsz\ttext\r\n";
    char text[16];
    unsigned size = sizeof text;
    ASSERT_EQ(read_registry_string(HKEY_CURRENT_USER, kKey, "name", text, &size), 1);
    EXPECT_STREQ(text, "text");
}

TEST_F(Registry, ConcurrentWritersLoseNothing) {
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([t] {
            for (int i = 0; i < 10; ++i)
                write_registry_dword(HKEY_CURRENT_USER, kKey, ("v" + std::to_string(t * 10 + i)).c_str(),
                                     static_cast<std::uint32_t>(i));
        });
    for (auto& writer : writers) writer.join();
    for (int n = 0; n < 40; ++n) {
        int value = -1;
        EXPECT_EQ(read_registry_dword(HKEY_CURRENT_USER, kKey, ("v" + std::to_string(n)).c_str(), &value), 1) << n;
        EXPECT_EQ(value, n % 10);
    }
}

TEST_F(Registry, RefusesKeysOutsideTheStore) {
    EXPECT_EQ(write_registry_dword(HKEY_CURRENT_USER, "SOFTWARE\\..\\escape", "x", 1), 0);
    EXPECT_EQ(write_registry_dword(HKEY_CURRENT_USER, "SOFTWARE", "x", 1), 0);
    EXPECT_EQ(write_registry_dword(HKEY_CURRENT_USER, kKey, "", 1), 0);
    EXPECT_EQ(write_registry_string(HKEY_CURRENT_USER, kKey, "x", nullptr, 1), 0);
    EXPECT_FALSE(std::filesystem::exists(config / "escape"));
}
