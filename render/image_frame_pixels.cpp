#include "render/image.h"

#include "render/wand_ptr.h"

unsigned char* getFramePixels(MagickWand* wand, int width, int height, std::size_t* length,
                              const FrameLogo* logo) {
    *length = 0;
    if (width < 1 || height < 1) return nullptr;
    // The logo goes on a copy (its pixels shared until written), so the
    // frame handed to the next picture stays without it.
    WandPtr copy;
    if (logo && logo->wand) {
        copy.reset(CloneMagickWand(wand));
        layFrameLogo(copy.get(), *logo);
        wand = copy.get();
    }
    const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
    auto* pixels = static_cast<unsigned char*>(AcquireQuantumMemory(bytes, 1));
    if (!pixels) return nullptr;
    // Always width x height bytes, whatever the image's own size: a frame of
    // another size would shift every frame after it in the encoder's input.
    // Pixels outside the image take its edge.
    if (MagickExportImagePixels(wand, 0, 0, static_cast<size_t>(width), static_cast<size_t>(height),
                                "RGB", CharPixel, pixels) != MagickTrue) {
        MagickRelinquishMemory(pixels);
        return nullptr;
    }
    *length = bytes;
    return pixels;
}
