// Looks at a picture file's first bytes before ImageMagick sees it: refuses
// what is not JPEG, PNG, GIF or BMP, refuses animated GIFs, and reads a
// picture's type and size cheaply (the logo check, the information line).
// A path is opened only when it names a regular file (see
// platform/regular_file.h): anything else reads as a file that cannot be
// opened, without blocking.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// probeImageType results.
enum : int {
    IMAGE_PROBE_UNREADABLE = 0,   // the file cannot be opened
    IMAGE_PROBE_ANIMATED = -1,    // a GIF with a second image
    IMAGE_PROBE_UNKNOWN = -2,     // no known signature, or a GIF whose blocks are broken
    IMAGE_PROBE_JPEG = 113,
    IMAGE_PROBE_PNG = 114,
    IMAGE_PROBE_GIF = 115,        // one image, or any GIF87a
    IMAGE_PROBE_BMP = 116,
};

int probeImageType(const std::string& path);

// 0 when the file cannot be opened; else 1 with "JPEG", "GIF", "PNG" or
// "BMP" from the signature alone, or "未知格式".
int getImageTypeName(const std::string& path, std::string* name);

// What a picture's header says.
struct ImageHeaderInfo {
    std::string type;     // "JPEG", "PNG", "GIF" or "BMP"
    int width = 0;
    int height = 0;
    std::int64_t bytes = 0;  // BMP: the header's file-size field; others: the file's length
};

// 1 with info filled when the header gives a type, a positive size in
// bytes, a positive width and a non-zero height; else 0.
int readImageHeaderInfo(const std::string& path, ImageHeaderInfo* info);
// The same for a file the caller has open, read from its start; the file's
// position is left anywhere.
int readImageHeaderInfo(std::FILE* file, ImageHeaderInfo* info);

// readImageHeaderInfo's answer as type name and size: typeName may be
// null; width and height are stored only when both are non-null.
int getImageTypeAndSize(const std::string& path, std::string* typeName, int* width, int* height);
