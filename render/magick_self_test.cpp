#include "render/magick_self_test.h"

#include <cstdlib>
#include <cstring>

#include "foundation/globals.h"
#include "net/error_report.h"
#include "platform/message_box.h"
#include "render/image.h"
#include "render/magick_test_pictures.h"
#include "render/wand_ptr.h"

const char* const kImageMagickFailureText =
    "图片处理组件无法正常工作，软件不能启动。\n\n"
    "请重新安装本软件；如果问题依然存在，请进入官网联系我们的客服。";

namespace {

std::string exceptionText(MagickWand* wand, const char* fallback) {
    ExceptionType severity = UndefinedException;
    MagickTextPtr description(MagickGetException(wand, &severity));
    if (description && *description.get()) return description.get();
    return fallback;
}

bool decodes(const unsigned char* bytes, std::size_t length, const char* name,
             std::string* failure) {
    WandPtr wand(NewMagickWand());
    if (MagickReadImageBlob(wand.get(), bytes, length) == MagickTrue) return true;
    if (failure) *failure = exceptionText(wand.get(), name);
    return false;
}

// The formats the program writes: JPEG and PNG, for pictures, thumbnails
// and copies. The result must carry the format's signature.
bool encodes(const char* format, const unsigned char* signature, std::size_t signatureLength,
             std::string* failure) {
    WandPtr wand(newCanvas(16, 16, "#FFFFFF"));
    MagickSetImageFormat(wand.get(), format);
    std::size_t length = 0;
    MagickBlobPtr blob(MagickGetImageBlob(wand.get(), &length));
    if (blob && length > signatureLength &&
        std::memcmp(blob.get(), signature, signatureLength) == 0)
        return true;
    if (failure) *failure = exceptionText(wand.get(), format);
    return false;
}

} // namespace

int validateImageMagick(std::string* failure) {
    static const unsigned char jpegSignature[] = {0xFF, 0xD8, 0xFF};
    static const unsigned char pngSignature[] = {0x89, 'P', 'N', 'G'};
    bool ok = decodes(kTestPng, sizeof kTestPng, "PNG", failure) &&
              decodes(kTestJpeg, sizeof kTestJpeg, "JPEG", failure) &&
              decodes(kTestGif, sizeof kTestGif, "GIF", failure) &&
              decodes(kTestBmp, sizeof kTestBmp, "BMP", failure) &&
              encodes("JPEG", jpegSignature, sizeof jpegSignature, failure) &&
              encodes("PNG", pngSignature, sizeof pngSignature, failure);
    return ok ? 1 : 0;
}

int setupImageMagickEnvironment() {
    std::string failure;
    if (validateImageMagick(&failure)) return 1;
    std::string report = failure + "\r\nfolder: " + programFolder;
    sendErrorReport("validateImageMagick", report.c_str());
    return 0;
}

void requireWorkingImageMagick() {
    if (setupImageMagickEnvironment()) return;
    messageBox(nullptr, kImageMagickFailureText, "提示", MB_ICONWARNING);
    std::exit(1);
}
