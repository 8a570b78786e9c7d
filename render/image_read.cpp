#include "render/image.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "foundation/charset.h"
#include "foundation/globals.h"
#include "platform/message_box.h"
#include "platform/regular_file.h"
#include "render/wand_ptr.h"

namespace {

constexpr int kReadMessageLimit = 1023;  // the message's 1024-byte buffer, as GBK

std::string readFailureText(MagickWand* wand, const std::string& path, int openErrno) {
    ExceptionType severity = UndefinedException;
    MagickTextPtr description(MagickGetException(wand, &severity));
    std::string detail = description ? description.get() : "";
    if (detail.empty())
        detail = "unable to open image `" + path + "': " + std::strerror(openErrno);
    std::string text = "MagickReadImage() 发生错误：\n\nimage unknown 164 " + detail;
    text.resize(gbk_prefix_bytes(text.c_str(), kReadMessageLimit));
    return text;
}

} // namespace

int readImageGbkPath(MagickWand* wand, const std::string& path) {
    std::FILE* file = openRegularFileStream(path.c_str());
    if (!file) return 0;
    MagickBooleanType read = MagickReadImageFile(wand, file);
    std::fclose(file);
    return read == MagickTrue ? 1 : 0;
}

int writeImageGbkPath(MagickWand* wand, const std::string& path) {
    return MagickWriteImage(wand, path.c_str()) == MagickTrue ? 1 : 0;
}

MagickWand* readPicture(const std::string& path, const char* fillColor) {
    std::string failure;
    MagickWand* picture = readPictureQuietly(path, fillColor, &failure);
    if (!picture) messageBox(hwndMain, failure, "错误", MB_ICONERROR);
    return picture;
}

MagickWand* readPictureQuietly(const std::string& path, const char* fillColor,
                               std::string* failure) {
    WandPtr wand(NewMagickWand());
    errno = 0;
    if (readImageGbkPath(wand.get(), path) != 1) {
        int openErrno = errno;
        *failure = readFailureText(wand.get(), path, openErrno);
        return nullptr;
    }
    MagickTextPtr format(MagickGetImageFormat(wand.get()));
    const char* name = format ? format.get() : "";
    MagickStripImage(wand.get());
    if (MagickGetImageAlphaChannel(wand.get()) == MagickTrue) {
        PixelWandPtr fill = newPixelWand(fillColor);
        MagickSetImageBackgroundColor(wand.get(), fill.get());
        // 32-bit BMPs often carry an unused alpha byte: keep their colours as stored.
        MagickSetImageAlphaChannel(wand.get(), std::strcmp(name, "BMP") == 0
                                                   ? DeactivateAlphaChannel
                                                   : RemoveAlphaChannel);
    }
    // The first image of a PSD is its flattened composite.
    if (std::strcmp(name, "PSD") == 0) MagickResetIterator(wand.get());
    cmykToSrgb(wand.get());
    return wand.release();
}
