#include "production/mp3_duration.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "platform/regular_file.h"

namespace {

// Bit rates in kbit/s by [low sampling frequency][layer - 1][index]; index
// 0 is free format and 15 is not allowed.
constexpr int kBitrates[2][3][16] = {
    {
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
    },
    {
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
    },
};

constexpr int kSampleRates[4] = {44100, 48000, 32000, 0};

// The ID3v1 tag at the end of a file.
constexpr std::int64_t kTrailingTag = 128;

std::uint32_t bigEndian32(const unsigned char* bytes) {
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
           std::uint32_t{bytes[2]} << 8 | bytes[3];
}

int frameLengthOf(const Mp3FrameHeader& frame) {
    const int kbps = frame.bitrateKbps, rate = frame.sampleRate;
    if (frame.layer == 1) return (12000 * kbps / rate + frame.padding) * 4;
    if (frame.layer == 3 && frame.lowSamplingFrequency) return 72000 * kbps / rate + frame.padding;
    return 144000 * kbps / rate + frame.padding;
}

int samplesPerFrame(const Mp3FrameHeader& frame) {
    if (frame.layer == 1) return 384;
    if (frame.layer == 3 && frame.lowSamplingFrequency) return 576;
    return 1152;
}

} // namespace

int isId3v2Header(const unsigned char* bytes, std::size_t size) {
    if (size < 10 || std::memcmp(bytes, "ID3", 3) != 0) return 0;
    if (bytes[3] == 0xFF || bytes[4] == 0xFF) return 0;
    for (int i = 6; i < 10; ++i)
        if (bytes[i] >= 0x80) return 0;
    return 1;
}

std::int64_t id3v2TagSize(const unsigned char* bytes) {
    std::int64_t size = std::int64_t{bytes[6]} << 21 | std::int64_t{bytes[7]} << 14 |
                        std::int64_t{bytes[8]} << 7 | bytes[9];
    size += 10;
    if (bytes[5] & 0x10) size += 10;  // footer present
    return size;
}

Mp3FrameHeader decodeMp3FrameHeader(std::uint32_t header) {
    Mp3FrameHeader frame{};
    const unsigned versionBits = header >> 19 & 3;
    const unsigned layerBits = header >> 17 & 3;
    const unsigned bitrateIndex = header >> 12 & 15;
    const unsigned rateIndex = header >> 10 & 3;
    frame.version = versionBits == 3 ? 10 : versionBits == 2 ? 20 : 25;
    frame.lowSamplingFrequency = versionBits == 3 ? 0 : 1;
    frame.layer = layerBits == 0 ? 0 : static_cast<int>(4 - layerBits);
    frame.bitrateKbps = frame.layer ? kBitrates[frame.lowSamplingFrequency][frame.layer - 1][bitrateIndex] : 0;
    frame.sampleRate = kSampleRates[rateIndex];
    if (frame.version == 20) frame.sampleRate /= 2;
    if (frame.version == 25) frame.sampleRate /= 4;
    frame.padding = static_cast<int>(header >> 9 & 1);
    frame.channels = (header >> 6 & 3) == 3 ? 1 : 2;
    return frame;
}

int getMp3FrameInfo(std::uint32_t header, int* frameLength, float* durationMs) {
    if ((header & 0xFFE00000u) != 0xFFE00000u) return 0;  // sync
    if ((header >> 17 & 3) == 0) return 0;                 // reserved layer
    const unsigned bitrateIndex = header >> 12 & 15;
    if (bitrateIndex == 15 || bitrateIndex == 0) return 0; // bad or free format
    if ((header >> 10 & 3) == 3) return 0;                 // reserved sample rate
    const Mp3FrameHeader frame = decodeMp3FrameHeader(header);
    *frameLength = frameLengthOf(frame);
    *durationMs = static_cast<float>(samplesPerFrame(frame)) / static_cast<float>(frame.sampleRate) * 1000.0f;
    return 1;
}

std::int64_t readWholeFile(const char* path, std::vector<unsigned char>& buffer) {
    buffer.clear();
    // Only a regular file has a size to read: a folder has no end, a device
    // none either, and a FIFO would block.
    std::FILE* file = openRegularFileStream(path);
    if (!file) return -1;
    struct stat status;
    std::int64_t size = -1;
    int error = EIO;
    if (fstat(fileno(file), &status) == 0) {
        buffer.resize(static_cast<std::size_t>(status.st_size));
        size = std::fread(buffer.data(), 1, buffer.size(), file) == buffer.size() ? status.st_size : -1;
        error = std::ferror(file) ? errno : EIO;
    }
    std::fclose(file);
    if (size < 0) {
        buffer.clear();
        errno = error;
    }
    return size;
}

float getMp3Duration(const char* path) {
    std::vector<unsigned char> data;
    const std::int64_t size = readWholeFile(path, data);
    if (size < 0) {
        std::fprintf(stderr, "Cannot read file '%s' for pass-2 encoding: %s\n", path, std::strerror(errno));
        return 0.0f;
    }
    std::int64_t position = 0;
    if (isId3v2Header(data.data(), data.size())) position = id3v2TagSize(data.data());
    // Every header read starts before end, so its four bytes lie in the data
    // even in a file shorter than the trailing tag.
    const std::int64_t end = size - kTrailingTag;
    float sum = 0.0f;
    while (position < end) {
        int length = 0;
        float duration = 0.0f;
        while (getMp3FrameInfo(bigEndian32(&data[static_cast<std::size_t>(position)]), &length, &duration)) {
            position += length;
            sum += duration;
            if (position >= end) break;
        }
        if (position >= end) break;
        ++position;
    }
    return sum;
}
