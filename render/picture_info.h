// The one-line description of a picture shown when its row is selected:
// size, type and file size, from the file's header or, failing that, from
// ImageMagick.
#pragma once

#include <cstdint>
#include <string>

// "尺寸: %d x %d, 类型: %s 图片, 大小: ..." with the size in bytes up to
// 1023 bytes ("%lld 字节"), in KB up to 1048575 bytes, else in MB.
std::string formatPictureInfoLine(int width, int height, const std::string& type,
                                  std::int64_t bytes);

// From the header (the rules of readImageHeaderInfo): 1 with the line, 0
// when the header is not recognised (text untouched).
int formatImageInfo(const std::string& path, std::string* text);

// Through ImageMagick: 1 with the line (the type is ImageMagick's format
// name), 0 with "注意: 这不是一个有效的图片".
int getPictureInfoText(const std::string& path, std::string* text);
