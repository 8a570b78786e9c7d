#include "production/encoder_command.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "foundation/array_list.h"
#include "foundation/globals.h"
#include "foundation/heap_alloc.h"
#include "foundation/file_path.h"
#include "production/logo_copy.h"
#include "production_support.h"

using production_test::ProductionTest;

namespace {
bool contains(const ArgumentList& argv, const std::string& value) {
    return std::find(argv.begin(), argv.end(), value) != argv.end();
}
}  // namespace

TEST(EncoderCommand, DurationIsTruncatedToMilliseconds) {
    EXPECT_EQ(formatDuration(150 / 25.0f), "00:00:06.000");
    EXPECT_EQ(formatDuration(1524 / 25.0f), "00:01:00.959");
    EXPECT_EQ(formatDuration(59.5f), "00:00:59.500");
    EXPECT_EQ(formatDuration(0.0f), "00:00:00.000");
}

TEST(EncoderCommand, BitrateByPresetThenService) {
    EXPECT_TRUE(bitrateArguments(0, 0).empty());
    EXPECT_EQ(bitrateArguments(1, 500), (ArgumentList{"-b:v", "1024k", "-bufsize", "2048k"}));
    EXPECT_EQ(bitrateArguments(3, 0), (ArgumentList{"-b:v", "3072k", "-bufsize", "6144k"}));
    EXPECT_EQ(bitrateArguments(0, 1500), (ArgumentList{"-b:v", "1500k", "-bufsize", "3000k"}));
}

TEST(EncoderCommand, LogoFilterByPosition) {
    EXPECT_EQ(logoFilterArguments("temp_12345.png", 3, 800),
              (ArgumentList{"-vf", "movie='temp_12345.png' [watermark]; [in][watermark] "
                                   "overlay=main_w-overlay_w-20:main_h-overlay_h-20 [out]"}));
    EXPECT_EQ(logoFilterArguments("t.png", 0, 400)[1],
              "movie='t.png' [watermark]; [in][watermark] overlay=10:10 [out]");
    EXPECT_EQ(logoFilterArguments("t.png", 6, 800)[1],
              "movie='t.png' [watermark]; [in][watermark] overlay=main_w-overlay_w-0:0 [out]");
    // No selection: bottom left, inset.
    EXPECT_EQ(logoFilterArguments("t.png", -1, 800)[1],
              "movie='t.png' [watermark]; [in][watermark] overlay=20:main_h-overlay_h-20 [out]");
}

TEST(EncoderCommand, BothCommandLinesKeepTheirArgumentOrder) {
    EncoderOptions options;
    options.audio = {"-i", "file:/m.mp3", "-ac", "2", "-ar", "44100", "-ab", "128k"};
    options.bitrate = bitrateArguments(2, 0);
    options.output = "/out/a b.mp4";
    ArgumentList named = namedPipeCommandLine("/p/tool/ffmpeg", "/tmp/x/v7", 800, 450,
                                              "00:00:06.000", options);
    EXPECT_EQ(named, (ArgumentList{"/p/tool/ffmpeg", "-y", "-f", "rawvideo", "-pix_fmt", "yuv420p",
                                   "-s", "800x450", "-r", "25", "-i", "file:/tmp/x/v7", "-i",
                                   "file:/m.mp3", "-ac", "2",
                                   "-ar", "44100", "-ab", "128k", "-s", "800x450", "-t",
                                   "00:00:06.000", "-pix_fmt", "yuv420p", "-b:v", "2048k",
                                   "-bufsize", "4096k", "-v", "error", "file:/out/a b.mp4"}));
    ArgumentList piped = standardInputCommandLine("/p/tool/ffmpeg", 800, 450, "00:00:06.000", {});
    EXPECT_EQ(std::vector<std::string>(piped.begin() + 1, piped.begin() + 12),
              (ArgumentList{"-y", "-f", "rawvideo", "-pix_fmt", "yuv420p", "-s", "800x450", "-r",
                            "25", "-i", "pipe:0"}));
    EXPECT_FALSE(contains(piped, "-b:v"));
    // A name that looks like an option or a protocol stays a file name.
    EXPECT_EQ(encoderFileArgument("-rf:x.mp4"), "file:-rf:x.mp4");
}

class EncoderAudio : public ProductionTest {};

TEST_F(EncoderAudio, OnlyAnExistingMusicFileOfAListedEntryIsAdded) {
    setUpOutputControls(10, 14, 0);
    std::string music = folder / "音乐 \"a\".mp3";
    folder.write("音乐 \"a\".mp3", "ID3");
    {
        std::lock_guard<std::mutex> hold(musicPathListLock);
        arraylist_insert(musicPathList, 1, heapCopy(music.c_str()));
        arraylist_insert(musicPathList, 2, heapCopy((folder / "deleted.mp3").c_str()));
        arraylist_insert(musicPathList, 3, heapCopy(folder.write("LOUD.MP3", "ID3").c_str()));
        arraylist_insert(musicPathList, 4, heapCopy(folder.write("song.wav", "RIFF").c_str()));
    }
    EXPECT_TRUE(audioInputArguments(0).empty());
    EXPECT_EQ(audioInputArguments(1),
              (ArgumentList{"-f", "mp3", "-i", "file:" + music, "-ac", "2", "-ar", "44100", "-ab", "128k"}));
    EXPECT_TRUE(audioInputArguments(2).empty()) << "a deleted file";
    EXPECT_EQ(audioInputArguments(3),
              (ArgumentList{"-f", "mp3", "-i", "file:" + folder / "LOUD.MP3", "-ac", "2", "-ar", "44100", "-ab", "128k"}));
    EXPECT_EQ(audioInputArguments(4),
              (ArgumentList{"-i", "file:" + folder / "song.wav", "-ac", "2", "-ar", "44100", "-ab", "128k"}))
        << "a file not listed as MP3 keeps the encoder's choice";
    EXPECT_TRUE(audioInputArguments(5).empty()) << "the local-file item";
    EXPECT_TRUE(audioInputArguments(9).empty());
}

class LogoCopies : public ProductionTest {};

TEST_F(LogoCopies, CopyIsNamedByItsTypeNotByTheUsersExtension) {
    std::string logo = folder / "lo'go.p'ng";
    production_test::writeSolidPicture(folder / "src.png", 8, 8, "#00ff00");
    std::rename((folder / "src.png").c_str(), logo.c_str());
    std::unique_ptr<LogoCopy> copy = LogoCopy::make(logo, workFolder);
    ASSERT_TRUE(copy);
    const std::string name = copy->name();
    ASSERT_EQ(name.size(), std::string("temp_12345.png").size()) << name;
    EXPECT_EQ(name.rfind("temp_", 0), 0u);
    EXPECT_EQ(name.substr(name.size() - 4), ".png");
    EXPECT_EQ(getFileSize((workFolder + "/" + name).c_str()), getFileSize(logo.c_str()));

    std::string jpeg = folder / "photo.PNG";
    production_test::writeSolidPicture(folder / "src.jpg", 8, 8, "#00ff00");
    std::rename((folder / "src.jpg").c_str(), jpeg.c_str());
    std::unique_ptr<LogoCopy> jpegCopy = LogoCopy::make(jpeg, workFolder);
    ASSERT_TRUE(jpegCopy);
    EXPECT_EQ(jpegCopy->name().substr(10), ".jpg");

    EXPECT_FALSE(LogoCopy::make(folder / "missing.png", workFolder));
    EXPECT_FALSE(LogoCopy::make(logo, folder / "no-such-folder"));
    copy.reset();
    EXPECT_FALSE(fileExists((workFolder + "/" + name).c_str())) << "removed with its owner";
}
