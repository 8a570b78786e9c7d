#include "render/image.h"

#include "foundation/globals.h"
#include "render/wand_ptr.h"

unsigned char* getFrameJpegBlob(MagickWand* wand, std::size_t* length, void*) {
    setSrgbColorspace(wand);
    *length = 0;
    if (frameOutputMode == 2 && previewLogoWand) {
        // The preview shows the logo the encoder would lay over the video.
        WandPtr copy(CloneMagickWand(wand));
        MagickCompositeImage(copy.get(), previewLogoWand, OverCompositeOp, previewLogoX,
                             previewLogoY);
        MagickSetImageFormat(copy.get(), "JPEG");
        return MagickGetImageBlob(copy.get(), length);
    }
    MagickSetImageFormat(wand, "JPEG");
    return MagickGetImageBlob(wand, length);
}

int writeJpegFile(MagickWand* wand, const std::string& path, int qualityCeiling) {
    setSrgbColorspace(wand);
    MagickSetImageFormat(wand, "JPEG");
    size_t quality = MagickGetImageCompressionQuality(wand);
    if (quality == 0 || quality > static_cast<size_t>(qualityCeiling)) {
        MagickSetImageCompression(wand, JPEGCompression);
        MagickSetImageCompressionQuality(wand, qualityCeiling);
    }
    return writeImageGbkPath(wand, path);
}
