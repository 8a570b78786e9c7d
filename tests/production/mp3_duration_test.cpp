#include "production/mp3_duration.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "foundation/temp_folder.h"
#include "production_support.h"

namespace {

// A frame header: sync, version and layer bits, no CRC, bit-rate and
// sample-rate indices, padding, the channel mode.
std::uint32_t header(unsigned versionBits, unsigned layerBits, unsigned bitrateIndex, unsigned rateIndex,
                     unsigned padding = 0, unsigned mode = 0) {
    return 0xFFE00000u | versionBits << 19 | layerBits << 17 | 1u << 16 | bitrateIndex << 12 |
           rateIndex << 10 | padding << 9 | mode << 6;
}

std::string frameBytes(std::uint32_t h, int length) {
    std::string frame(static_cast<std::size_t>(length), '\0');
    for (int i = 0; i < 4; ++i) frame[i] = static_cast<char>(h >> (24 - 8 * i));
    return frame;
}

std::string frames(std::uint32_t h, int count) {
    int length = 0;
    float duration = 0;
    EXPECT_TRUE(getMp3FrameInfo(h, &length, &duration));
    std::string out;
    for (int i = 0; i < count; ++i) out += frameBytes(h, length);
    return out;
}

// An ID3v1 tag that holds a valid-looking frame header.
std::string id3v1Tag() {
    std::string tag = "TAG" + std::string(125, '\0');
    std::string fake = frameBytes(header(0, 1, 1, 2), 4);  // 72 ms if it were counted
    tag.replace(40, 4, fake);
    return tag;
}

std::string id3v2Tag(int bodySize, bool footer) {
    std::string tag = "ID3";
    tag += '\x04';
    tag += '\0';
    tag += footer ? '\x10' : '\0';
    for (int shift : {21, 14, 7, 0}) tag += static_cast<char>(bodySize >> shift & 0x7F);
    // A frame header inside the tag must not be counted.
    std::string body(static_cast<std::size_t>(bodySize), '\0');
    if (bodySize >= 12) body.replace(8, 4, frameBytes(header(0, 1, 1, 2), 4));
    tag += body;
    if (footer) tag += "3DI" + tag.substr(3, 7);
    return tag;
}

float durationOf(const TempFolder& folder, const std::string& bytes) {
    return getMp3Duration(folder.write("music.mp3", bytes).c_str());
}

} // namespace

TEST(Mp3Duration, FrameHeadersOfEveryVersionAndLayer) {
    struct Case {
        const char* name;
        std::uint32_t header;
        int length;
        double ms;
        int version, channels;
    } cases[] = {
        {"MPEG-1 III 128k 44.1k", header(3, 1, 9, 0), 417, 1152000.0 / 44100, 10, 2},
        {"MPEG-1 III padded", header(3, 1, 9, 0, 1), 418, 1152000.0 / 44100, 10, 2},
        {"MPEG-1 II 192k 48k", header(3, 2, 10, 1), 576, 24, 10, 2},
        {"MPEG-1 I 448k 32k mono", header(3, 3, 14, 2, 0, 3), 672, 12, 10, 1},
        {"MPEG-1 I padded", header(3, 3, 1, 1, 1), 36, 8, 10, 2},
        {"MPEG-2 III 64k 22.05k", header(2, 1, 8, 0), 208, 576000.0 / 22050, 20, 2},
        {"MPEG-2 II 160k 24k", header(2, 2, 14, 1), 960, 48, 20, 2},
        {"MPEG-2 I 256k 16k", header(2, 3, 14, 2), 768, 24, 20, 2},
        {"MPEG-2.5 III 8k 8k padded", header(0, 1, 1, 2, 1), 73, 72, 25, 2},
        {"MPEG-2.5 II 32k 12k", header(0, 2, 4, 1), 384, 96, 25, 2},
        {"reserved version bits as MPEG-2.5", header(1, 1, 1, 2), 72, 72, 25, 2},
    };
    for (const Case& c : cases) {
        int length = 0;
        float ms = 0;
        ASSERT_TRUE(getMp3FrameInfo(c.header, &length, &ms)) << c.name;
        EXPECT_EQ(length, c.length) << c.name;
        EXPECT_NEAR(ms, c.ms, 1e-3) << c.name;
        Mp3FrameHeader decoded = decodeMp3FrameHeader(c.header);
        EXPECT_EQ(decoded.version, c.version) << c.name;
        EXPECT_EQ(decoded.channels, c.channels) << c.name;
    }

    const struct {
        const char* name;
        std::uint32_t header;
    } invalid[] = {
        {"no sync", header(3, 1, 9, 0) & ~0x00200000u},
        {"reserved layer", header(3, 0, 9, 0)},
        {"free format", header(3, 1, 0, 0)},
        {"bad bit rate", header(3, 1, 15, 0)},
        {"reserved sample rate", header(3, 1, 9, 3)},
    };
    for (const auto& c : invalid) {
        int length = -7;
        float ms = -7;
        EXPECT_FALSE(getMp3FrameInfo(c.header, &length, &ms)) << c.name;
        EXPECT_EQ(length, -7) << c.name;
    }
}

TEST(Mp3Duration, WalksStreamsAroundTagsAndJunk) {
    TempFolder folder;
    const std::uint32_t layer3 = header(3, 1, 9, 0);    // 26.12 ms per frame
    const std::uint32_t mpeg25 = header(0, 1, 1, 2);    // 72 ms
    const double layer3Ms = 1152000.0 / 44100;
    const std::string tail = id3v1Tag();
    struct Case {
        const char* name;
        std::string bytes;
        double ms;
    } cases[] = {
        {"plain frames", frames(layer3, 100) + tail, 100 * layer3Ms},
        {"mixed versions", frames(layer3, 10) + frames(mpeg25, 5) + frames(header(2, 3, 14, 2), 4) + tail,
         10 * layer3Ms + 5 * 72 + 4 * 24},
        {"junk between frames", "junk" + frames(mpeg25, 3) + std::string(37, '\0') + "\xFF\x01" + frames(mpeg25, 2) +
                                    std::string(5, '\x7F') + frames(mpeg25, 1) + tail,
         6 * 72},
        {"ID3v2 tag", id3v2Tag(300, false) + frames(mpeg25, 4) + tail, 4 * 72},
        {"ID3v2 tag with footer", id3v2Tag(300, true) + frames(mpeg25, 4) + tail, 4 * 72},
        {"tag size cut short", id3v2Tag(300, false).substr(0, 50) + frames(mpeg25, 4) + tail, 0},
        {"frames in the last 128 bytes", frames(mpeg25, 2) + frames(mpeg25, 1), 2 * 72},
        {"one frame and the trailing bytes", frames(mpeg25, 1) + tail, 72},
        {"empty", "", 0},
        {"header in a tiny file", frameBytes(mpeg25, 4), 0},
        {"tiny frames file", frames(mpeg25, 1), 0},
        {"127 bytes", frameBytes(mpeg25, 127), 0},
        {"128 bytes", frameBytes(mpeg25, 128), 0},
        {"ID3 header alone", id3v2Tag(0, false).substr(0, 10), 0},
    };
    for (const Case& c : cases) EXPECT_NEAR(durationOf(folder, c.bytes), c.ms, 0.01 + c.ms * 1e-5) << c.name;
}

TEST(Mp3Duration, UnreadableFileCountsAsNothing) {
    TempFolder folder;
    EXPECT_EQ(getMp3Duration((folder / "missing.mp3").c_str()), 0.0f);
    EXPECT_EQ(getMp3Duration(folder.folder("a folder.mp3").c_str()), 0.0f);
    std::vector<unsigned char> buffer{1, 2, 3};
    EXPECT_EQ(readWholeFile((folder / "missing.mp3").c_str(), buffer), -1);
    EXPECT_TRUE(buffer.empty());
    EXPECT_EQ(readWholeFile(folder.write("three", "abc").c_str(), buffer), 3);
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), "abc");
}

TEST(Mp3Duration, AgreesWithFfprobeOnARealFile) {
    TempFolder folder;
    std::string path = folder / "sine.mp3";
    production_test::writeMusic(path, 3.5);
    std::string probed = production_test::runCapture({"/usr/bin/ffprobe", "-v", "error", "-show_entries",
                                                      "format=duration", "-of", "csv=p=0", "file:" + path});
    double seconds = std::atof(probed.c_str());
    ASSERT_GT(seconds, 3.0);
    // The encoder's information frame counts as one more frame here.
    EXPECT_NEAR(getMp3Duration(path.c_str()) / 1000.0, seconds, 0.08);
}
