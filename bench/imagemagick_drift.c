/* A stand-in for an ImageMagick update that changes its arithmetic: loaded
 * with LD_PRELOAD, it wraps the calls named in IMAGEMAGICK_DRIFT (any of
 * resize, composite, perspective, rotate, draw) and moves the first pixel
 * of each result by 1/65535 (red, and alpha where the image has it).
 * Built and run by imagemagick_drift.sh; never part of the program. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdlib.h>
#include <string.h>

#include <magick/MagickCore.h>

static int drifts(const char *operation) {
    const char *named = getenv("IMAGEMAGICK_DRIFT");
    return named && strstr(named, operation);
}

static Quantum nudged(Quantum value) { return value == QuantumRange ? value - 1 : value + 1; }

static void nudge(Image *image) {
    if (!image) return;
    ExceptionInfo *exception = AcquireExceptionInfo();
    PixelPacket *pixel = GetAuthenticPixels(image, 0, 0, 1, 1, exception);
    if (pixel) {
        pixel->red = nudged(pixel->red);
        if (image->matte) pixel->opacity = nudged(pixel->opacity);
        SyncAuthenticPixels(image, exception);
    }
    DestroyExceptionInfo(exception);
}

Image *ResizeImage(const Image *image, const size_t columns, const size_t rows,
                   const FilterTypes filter, const double blur, ExceptionInfo *exception) {
    static Image *(*next)(const Image *, const size_t, const size_t, const FilterTypes,
                          const double, ExceptionInfo *);
    if (!next) next = dlsym(RTLD_NEXT, "ResizeImage");
    Image *resized = next(image, columns, rows, filter, blur, exception);
    if (drifts("resize")) nudge(resized);
    return resized;
}

/* MagickCompositeImage comes here. */
MagickBooleanType CompositeImageChannel(Image *image, const ChannelType channel,
                                        const CompositeOperator compose, const Image *source,
                                        const ssize_t x, const ssize_t y) {
    static MagickBooleanType (*next)(Image *, const ChannelType, const CompositeOperator,
                                     const Image *, const ssize_t, const ssize_t);
    if (!next) next = dlsym(RTLD_NEXT, "CompositeImageChannel");
    MagickBooleanType done = next(image, channel, compose, source, x, y);
    if (drifts("composite") && compose == OverCompositeOp) nudge(image);
    return done;
}

/* MagickDistortImage and MagickRotateImage come here. */
Image *DistortImage(const Image *image, DistortImageMethod method, const size_t count,
                    const double *arguments, MagickBooleanType bestfit,
                    ExceptionInfo *exception) {
    static Image *(*next)(const Image *, DistortImageMethod, const size_t, const double *,
                          MagickBooleanType, ExceptionInfo *);
    if (!next) next = dlsym(RTLD_NEXT, "DistortImage");
    Image *distorted = next(image, method, count, arguments, bestfit, exception);
    if ((drifts("perspective") && method == PerspectiveDistortion) ||
        (drifts("rotate") && method == ScaleRotateTranslateDistortion))
        nudge(distorted);
    return distorted;
}

MagickBooleanType DrawImage(Image *image, const DrawInfo *draw) {
    static MagickBooleanType (*next)(Image *, const DrawInfo *);
    if (!next) next = dlsym(RTLD_NEXT, "DrawImage");
    MagickBooleanType done = next(image, draw);
    if (drifts("draw")) nudge(image);
    return done;
}
