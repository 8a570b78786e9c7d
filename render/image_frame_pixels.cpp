#include "render/image.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

extern "C" {
#include <libswscale/swscale.h>
}

#include "platform/run_memory.h"
#include "render/wand_ptr.h"

namespace {

// Vector code may read up to this far past the last pixel of a row; the
// frame's last row needs the room too.
constexpr std::size_t kRowOverread = 64;
// It may also write that far past the last pixel of a row: into the next
// row, which is written after it, but past a plane's end too when a frame
// is only a few pixels wide. The planes are converted with this much room
// behind each, then closed up.
constexpr std::size_t kPlaneOverwrite = 64;

struct SwsContextFree {
    void operator()(SwsContext* context) const { sws_freeContext(context); }
};

std::size_t chromaSide(int side) { return (static_cast<std::size_t>(side) + 1) / 2; }

// The encoder turns RGB frames into its video's YUV 4:2:0 with libswscale's
// bicubic conversion; the same conversion here gives the same bytes, so
// the video does not change with where the conversion runs. One context
// per thread: each render worker converts its own frames. rgb holds rows of
// stride bytes; yuv has room for the planes and 3 * kPlaneOverwrite bytes.
bool rgbToYuv420p(const unsigned char* rgb, int stride, int width, int height, unsigned char* yuv) {
    thread_local std::unique_ptr<SwsContext, SwsContextFree> context;
    context.reset(sws_getCachedContext(context.release(), width, height, AV_PIX_FMT_RGB24, width,
                                       height, AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr,
                                       nullptr));
    if (!context) return false;
    const std::size_t lumaBytes = framePixelBytes(width, height, FramePixels::Rgb24) / 3;
    const std::size_t chromaBytes = chromaSide(width) * chromaSide(height);
    const std::uint8_t* const source[] = {rgb};
    const int sourceStride[] = {stride};
    std::uint8_t* const planes[] = {yuv, yuv + lumaBytes + kPlaneOverwrite,
                                    yuv + lumaBytes + chromaBytes + 2 * kPlaneOverwrite};
    const int strides[] = {width, static_cast<int>(chromaSide(width)),
                           static_cast<int>(chromaSide(width))};
    if (sws_scale(context.get(), source, sourceStride, 0, height, planes, strides) != height)
        return false;
    std::memmove(yuv + lumaBytes, planes[1], chromaBytes);
    std::memmove(yuv + lumaBytes + chromaBytes, planes[2], chromaBytes);
    return true;
}

// The image's pixels as 8-bit RGB rows of width x height, read through a
// cache view of this call's own: clones of one picture share its pixel
// cache, and reading through the image itself would use the cache's one
// buffer that every thread of the program shares (an export of ImageMagick's
// does). Pixels outside the image take its edge, as everywhere in the render.
bool exportRgb(MagickWand* wand, int width, int height, unsigned char* rgb) {
    Image* image = GetImageFromMagickWand(wand);
    if (!image) return false;
    ExceptionInfo* exception = AcquireExceptionInfo();
    CacheView* view = AcquireVirtualCacheView(image, exception);
    bool read = true;
    for (int y = 0; y < height && read; ++y) {
        const PixelPacket* p = GetCacheViewVirtualPixels(view, 0, y, static_cast<size_t>(width), 1,
                                                         exception);
        read = p != nullptr;
        for (int x = 0; read && x < width; ++x, ++p) {
            *rgb++ = ScaleQuantumToChar(GetPixelRed(p));
            *rgb++ = ScaleQuantumToChar(GetPixelGreen(p));
            *rgb++ = ScaleQuantumToChar(GetPixelBlue(p));
        }
    }
    DestroyCacheView(view);
    DestroyExceptionInfo(exception);
    return read;
}

} // namespace

std::size_t framePixelBytes(int width, int height, FramePixels layout) {
    if (width < 1 || height < 1) return 0;
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (layout == FramePixels::Rgb24) return pixels * 3;
    return pixels + 2 * chromaSide(width) * chromaSide(height);
}

unsigned char* getFramePixels(MagickWand* wand, int width, int height, std::size_t* length,
                              const FrameLogo* logo, FramePixels layout) {
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
    const std::size_t bytes = framePixelBytes(width, height, layout);
    const std::size_t room = layout == FramePixels::Yuv420p ? 3 * kPlaneOverwrite : 0;
    auto* pixels = static_cast<unsigned char*>(AcquireQuantumMemory(bytes + room, 1));
    if (!pixels) return nullptr;
    // RGB to be converted goes through a buffer of this thread's, kept
    // between frames. An odd side is exported one pixel longer: the
    // conversion reads the pixel a last half-covered chroma sample covers.
    int rgbWidth = width, rgbHeight = height;
    thread_local std::vector<unsigned char, RunAllocator<unsigned char>> rgbToConvert;
    unsigned char* rgb = pixels;
    if (layout != FramePixels::Rgb24) {
        rgbWidth += width % 2;
        rgbHeight += height % 2;
        const std::size_t rgbBytes = framePixelBytes(rgbWidth, rgbHeight, FramePixels::Rgb24);
        rgbToConvert.resize(rgbBytes + kRowOverread);
        rgb = rgbToConvert.data();
    }
    // Always width x height, whatever the image's own size: a frame of
    // another size would shift every frame after it in the encoder's input.
    // Pixels outside the image take its edge.
    bool made = exportRgb(wand, rgbWidth, rgbHeight, rgb);
    if (made && layout == FramePixels::Yuv420p)
        made = rgbToYuv420p(rgb, rgbWidth * 3, width, height, pixels);
    if (!made) {
        MagickRelinquishMemory(pixels);
        return nullptr;
    }
    *length = bytes;
    return pixels;
}
