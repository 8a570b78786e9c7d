#include "render/image.h"

void cmykToSrgb(MagickWand* wand) {
    if (MagickGetImageColorspace(wand) == CMYKColorspace)
        MagickTransformImageColorspace(wand, sRGBColorspace);
}

void setSrgbColorspace(MagickWand* wand) {
    if (MagickGetImageColorspace(wand) != sRGBColorspace)
        MagickSetImageColorspace(wand, sRGBColorspace);
}

int isCmykImage(MagickWand* wand) {
    return MagickGetImageColorspace(wand) == CMYKColorspace ? 1 : 0;
}

int isCmykFile(const std::string& path) {
    MagickWand* wand = NewMagickWand();
    int cmyk = readImageGbkPath(wand, path) == 1 ? isCmykImage(wand) : 0;
    DestroyMagickWand(wand);
    return cmyk;
}

int isStillImage(MagickWand* wand) {
    // A multi-frame read leaves the iterator on the last frame; the delay
    // that tells a still GIF from an animation is the first frame's.
    ssize_t current = MagickGetIteratorIndex(wand);
    MagickSetIteratorIndex(wand, 0);
    size_t delay = MagickGetImageDelay(wand);
    MagickSetIteratorIndex(wand, current);
    if (delay == 0) return 1;
    return MagickGetNumberImages(wand) == 1 ? 1 : 0;
}
