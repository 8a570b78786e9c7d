#include "render/picture_info.h"

#include <cstdio>

#include "render/image.h"
#include "render/image_probe.h"
#include "render/wand_ptr.h"

std::string formatPictureInfoLine(int width, int height, const std::string& type,
                                  std::int64_t bytes) {
    char line[256];
    if (bytes < 1024) {
        std::snprintf(line, sizeof line, "尺寸: %d x %d, 类型: %s 图片, 大小: %lld 字节", width,
                      height, type.c_str(), static_cast<long long>(bytes));
    } else if (bytes < 1048576) {
        std::snprintf(line, sizeof line, "尺寸: %d x %d, 类型: %s 图片, 大小: %0.1f KB", width,
                      height, type.c_str(), static_cast<double>(bytes) / 1024.0);
    } else {
        std::snprintf(line, sizeof line, "尺寸: %d x %d, 类型: %s 图片, 大小: %0.1f MB", width,
                      height, type.c_str(), static_cast<float>(bytes) / 1024.0 / 1024.0);
    }
    return line;
}

int formatImageInfo(const std::string& path, std::string* text) {
    ImageHeaderInfo info;
    if (!readImageHeaderInfo(path, &info)) return 0;
    *text = formatPictureInfoLine(info.width, info.height, info.type, info.bytes);
    return 1;
}

int getPictureInfoText(const std::string& path, std::string* text) {
    WandPtr wand(NewMagickWand());
    if (readImageGbkPath(wand.get(), path) != 1) {
        *text = "注意: 这不是一个有效的图片";
        return 0;
    }
    MagickSizeType bytes = 0;
    MagickGetImageLength(wand.get(), &bytes);
    MagickTextPtr format(MagickGetImageFormat(wand.get()));
    std::string type = format ? format.get() : "";
    // The first image of a PSD is its flattened composite.
    if (type == "PSD") MagickResetIterator(wand.get());
    int width = static_cast<int>(MagickGetImageWidth(wand.get()));
    int height = static_cast<int>(MagickGetImageHeight(wand.get()));
    *text = formatPictureInfoLine(width, height, type, static_cast<std::int64_t>(bytes));
    return 1;
}
