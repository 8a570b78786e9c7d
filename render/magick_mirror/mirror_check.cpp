// The cases are tiny (a few dozen pixels each) so that the whole check costs
// a few milliseconds at start, and of noise, so that any change in a weight,
// a rounding or an order of operations shows in some pixel's low bits.
#include "render/magick_mirror/mirror_check.h"

#include <cstdio>
#include <random>
#include <string>

#include "render/effects/effect_helpers.h"
#include "render/image.h"
#include "render/magick_mirror/image_composite.h"
#include "render/magick_mirror/image_distort.h"
#include "render/magick_mirror/image_resize.h"
#include "render/magick_mirror/own_pixel_work.h"
#include "render/wand_ptr.h"

namespace {

// 16-bit noise with runs of black and white, so both ends of every clamp are
// reached; with alpha, opacities of every kind, none and full included.
// Without alpha the opacities stay behind the switched-off channel, as a
// picture's can.
WandPtr noise(int width, int height, bool alpha, unsigned seed) {
    std::minstd_rand random(seed);
    std::vector<unsigned short> rgba(static_cast<std::size_t>(width) * height * 4);
    for (unsigned short& value : rgba) {
        unsigned pick = random() % 4;
        value = pick == 0 ? 0 : pick == 1 ? 65535 : static_cast<unsigned short>(random());
    }
    WandPtr wand(newCanvas(width, height, "#FFFFFF"));
    MagickSetImageAlphaChannel(wand.get(), ActivateAlphaChannel);
    MagickImportImagePixels(wand.get(), 0, 0, width, height, "RGBA", ShortPixel, rgba.data());
    if (!alpha) MagickSetImageAlphaChannel(wand.get(), DeactivateAlphaChannel);
    return wand;
}

using Work = std::function<WandPtr(WandPtr)>;

// A case whose two sides each work on a fresh picture from make.
MirrorCase onPicture(const char* name, const char* operation, std::function<WandPtr()> make,
                     Work own, Work imageMagick) {
    auto side = [make](Work work) {
        return [make, work] {
            WandPtr result = work(make());
            return mirrorResultOf(result.get());
        };
    };
    return {name, operation, side(std::move(own)), side(std::move(imageMagick))};
}

MirrorCase resizeCase(const char* name, int width, int height, int toWidth, int toHeight,
                      bool alpha) {
    return onPicture(
        name, "MagickResizeImage",
        [=] { return noise(width, height, alpha, static_cast<unsigned>(width * 31 + height)); },
        [=](WandPtr picture) {
            lanczosResize(picture.get(), toWidth, toHeight);
            return picture;
        },
        [=](WandPtr picture) {
            MagickResizeImage(picture.get(), toWidth, toHeight, LanczosFilter, 1.0);
            return picture;
        });
}

// Translucent noise laid over translucent noise, reaching past the target's
// top and right edges.
MirrorCase overCase() {
    return onPicture(
        "Over with alpha", "MagickCompositeImage", [] { return noise(10, 8, true, 5); },
        [](WandPtr target) {
            WandPtr source = noise(7, 5, true, 6);
            compositeImageOver(target.get(), source.get(), 4, -2);
            return target;
        },
        [](WandPtr target) {
            WandPtr source = noise(7, 5, true, 6);
            MagickCompositeImage(target.get(), source.get(), OverCompositeOp, 4, -2);
            return target;
        });
}

MirrorCase canvasOverCase() {
    return onPicture(
        "Over with alpha on a new canvas", "MagickCompositeImage",
        [] { return noise(7, 6, true, 7); },
        [](WandPtr source) {
            return WandPtr(newCanvasWithImageOver(10, 8, "#336699", source.get(), -2, 3));
        },
        [](WandPtr source) {
            WandPtr canvas(newCanvas(10, 8, "#336699"));
            MagickCompositeImage(canvas.get(), source.get(), OverCompositeOp, -2, 3);
            return canvas;
        });
}

// An opaque picture swung about its left edge over transparent
// surroundings, as the flip draws it.
MirrorCase perspectiveCase() {
    static const double points[16] = {0, 0, 0, 0, 0, 7, 0, 7, 9, 0, 5.5, 1.25, 9, 7, 5.5, 5.75};
    return onPicture(
        "perspective", "MagickDistortImage",
        [] {
            WandPtr picture = noise(9, 7, false, 8);
            MagickSetImageAlphaChannel(picture.get(), OpaqueAlphaChannel);
            MagickSetImageVirtualPixelMethod(picture.get(), TransparentVirtualPixelMethod);
            return picture;
        },
        [](WandPtr picture) {
            distortPerspectiveBestFit(picture.get(), points, 16);
            return picture;
        },
        [](WandPtr picture) {
            MagickDistortImage(picture.get(), PerspectiveDistortion, 16, points, MagickTrue);
            return picture;
        });
}

// Translucent noise turned on a transparent ground, as the turn draws it.
MirrorCase rotationCase() {
    return onPicture(
        "rotation", "MagickRotateImage", [] { return noise(7, 5, true, 9); },
        [](WandPtr picture) {
            PixelWandPtr ground = newPixelWand("#FFFFFF00");
            rotateOnBackground(picture.get(), ground.get(), 27.5);
            return picture;
        },
        [](WandPtr picture) {
            PixelWandPtr ground = newPixelWand("#FFFFFF00");
            MagickRotateImage(picture.get(), ground.get(), 27.5);
            return picture;
        });
}

// White laid on black through the mask, so that every step of its opacity
// shows; the shape reaches past every edge, so the fill's mask covers the
// whole picture either way.
MirrorCase shapeMaskCase() {
    static const Shape shape = {
        circleThrough(7.5, 5.25, 11.8, 5.25), pieSlice(12, 9, 7, 200, 290),
        polygon({{-2, 11.5}, {6, 13}, {1.5, 3.25}}), rectangle(13.5, -1, 17, 2.5)};
    return onPicture(
        "shape mask", "MagickDrawImage", [] { return WandPtr(newCanvas(16, 12, "#000000")); },
        [](WandPtr target) {
            WandPtr source(newCanvas(16, 12, "#FFFFFF"));
            fillShape(target.get(), source.get(), shape);
            return target;
        },
        [](WandPtr target) {
            WandPtr source(newCanvas(16, 12, "#FFFFFF"));
            fillShape(target.get(), source.get(),
                      [](DrawingWand* draw) { addShape(draw, shape); });
            return target;
        });
}

std::vector<const MirrorCase*> differingCases(const std::vector<MirrorCase>& cases) {
    std::vector<const MirrorCase*> differing;
    for (const MirrorCase& c : cases)
        if (c.own() != c.imageMagick()) differing.push_back(&c);
    return differing;
}

std::string differenceLine(const std::vector<const MirrorCase*>& differing) {
    std::string line = "ImageMagick's own calls differ from the render's own arithmetic in ";
    for (std::size_t i = 0; i < differing.size(); ++i) {
        if (i > 0) line += ", ";
        line += std::string(differing[i]->name) + " (" + differing[i]->operation + ")";
    }
    return line + ": the render leaves its resizes, composites, distortions and shape masks "
                  "to ImageMagick";
}

} // namespace

MirrorResult mirrorResultOf(MagickWand* wand) {
    MirrorResult result;
    if (!wand || MagickGetNumberImages(wand) == 0) return result;
    result.width = MagickGetImageWidth(wand);
    result.height = MagickGetImageHeight(wand);
    std::size_t pageWidth = 0, pageHeight = 0;
    MagickGetImagePage(wand, &pageWidth, &pageHeight, &result.x, &result.y);
    result.matte = MagickGetImageAlphaChannel(wand) != MagickFalse;
    result.channels.resize(result.width * result.height * 4);
    MagickExportImagePixels(wand, 0, 0, result.width, result.height, "RGBA", ShortPixel,
                            result.channels.data());
    return result;
}

const std::vector<MirrorCase>& mirrorCases() {
    static const std::vector<MirrorCase> cases = {
        resizeCase("Lanczos enlargement", 6, 5, 11, 8, false),
        resizeCase("Lanczos enlargement with alpha", 5, 6, 9, 13, true),
        resizeCase("Lanczos reduction", 13, 11, 6, 4, false),
        resizeCase("Lanczos reduction with alpha", 11, 13, 4, 7, true),
        overCase(),
        canvasOverCase(),
        perspectiveCase(),
        rotationCase(),
        shapeMaskCase(),
    };
    return cases;
}

bool checkOwnPixelWork(const std::vector<MirrorCase>& cases) {
    if (!ownPixelWork) return false;
    std::vector<const MirrorCase*> differing = differingCases(cases);
    if (differing.empty()) return true;
    ownPixelWork = false;
    std::fprintf(stderr, "%s\n", differenceLine(differing).c_str());
    return false;
}
