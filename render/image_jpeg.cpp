#include "render/image.h"

#include "render/magick_mirror/image_composite.h"
#include "render/wand_ptr.h"

void layFrameLogo(MagickWand* frame, const FrameLogo& logo) {
    if (logo.wand) compositeImageOver(frame, logo.wand, logo.x, logo.y);
}

unsigned char* getFrameJpegBlob(MagickWand* wand, std::size_t* length, const FrameLogo* logo) {
    // Encoding labels the image and may note its type and colorspace (a
    // grey picture becomes a grey image), which would change how it is drawn
    // and encoded later. A copy (sharing the pixels until written) takes
    // those changes, so a frame encodes the same whatever was encoded before.
    WandPtr copy(CloneMagickWand(wand));
    setSrgbColorspace(copy.get());
    *length = 0;
    if (logo) layFrameLogo(copy.get(), *logo);
    MagickSetImageFormat(copy.get(), "JPEG");
    return MagickGetImageBlob(copy.get(), length);
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
