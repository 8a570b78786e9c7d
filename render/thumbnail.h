// The bordered thumbnail of a picture in the picture list: the picture
// shrunk into the box (never enlarged), centred on white, with a one-pixel
// grey border.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int thumbnailWidth = 144;
constexpr int thumbnailHeight = 144;

// 8-bit RGBA pixels, row by row, ready for a QImage (Format_RGBA8888).
struct ThumbnailIcon {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

// 1 with the thumbnail in *icon (thumbnailWidth x thumbnailHeight); -1 for
// an animated picture; 0 when the picture cannot be decoded (the caller
// reports it; nothing is shown here).
int makeThumbnailIcon(const std::string& path, int boxWidth, int boxHeight, ThumbnailIcon* icon);
