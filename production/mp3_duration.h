// The playing time of an MP3 file, found by walking its MPEG audio frame
// headers (MPEG 1, 2 and 2.5, layers I to III) and adding up each frame's
// duration. An ID3v2 tag at the start is skipped; the last 128 bytes, where
// an ID3v1 tag lies, are never taken for frames; bytes between frames that
// do not form a valid header are skipped one at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// One frame header, decoded.
struct Mp3FrameHeader {
    int version;             // 10 MPEG-1, 20 MPEG-2, 25 MPEG 2.5
    int lowSamplingFrequency;  // 1 for MPEG-2 and 2.5
    int layer;               // 1 to 3; 0 for the reserved layer bits
    int bitrateKbps;         // 0 for free format or a bad index
    int sampleRate;          // Hz; 0 for the reserved index
    int padding;             // 0 or 1
    int channels;            // 1 or 2
};

// 1 when the first ten of size bytes form an ID3v2 tag header.
int isId3v2Header(const unsigned char* bytes, std::size_t size);
// Bytes the tag whose header starts at bytes takes, header and footer included.
std::int64_t id3v2TagSize(const unsigned char* bytes);

Mp3FrameHeader decodeMp3FrameHeader(std::uint32_t header);
// 1 when header (four bytes, big-endian) starts a frame that can be walked
// over: frameLength receives its length in bytes and durationMs its
// playing time; 0 (outputs untouched) otherwise.
int getMp3FrameInfo(std::uint32_t header, int* frameLength, float* durationMs);

// Reads the whole file into buffer; the byte count, or -1 when it cannot be
// read (errno tells why).
std::int64_t readWholeFile(const char* path, std::vector<unsigned char>& buffer);

// Playing time of the file in milliseconds; 0 when it cannot be read or
// holds no frames.
float getMp3Duration(const char* path);
