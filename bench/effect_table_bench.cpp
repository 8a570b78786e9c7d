// Milliseconds per frame of every effect index, walking the dispatch table,
// so a family's cost is read without editing this program.
//
//   effect_table_bench [--size WxH] [--no-jpeg] [index...]
//
// For each index: the transition frames written (no hold frames), the time
// per frame spent drawing (frames handed over unencoded) and, unless
// --no-jpeg, the time per frame with the JPEG encoding every real frame gets.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/globals.h"
#include "render/effects/effect_table.h"
#include "render/effects/frame_output.h"
#include "render/image.h"

namespace {

int acceptFrame(void*, const void*, std::uint32_t length, std::uint32_t* written, void*) {
    *written = length;
    return 1;
}

// Hands over a token instead of an encoding, so only the drawing is timed.
unsigned char* tokenEncoder(MagickWand*, std::size_t* length, void*) {
    *length = 1;
    auto* token = static_cast<unsigned char*>(AcquireMagickMemory(1));
    *token = 0;
    return token;
}

// A picture with detail everywhere (smooth gradients crossed by a grid), so
// JPEG encoding costs what a photograph would.
WandPtr testPicture(int width, int height, int seed) {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 3];
            bool grid = (x + seed) % 37 < 2 || (y + seed) % 41 < 2;
            p[0] = static_cast<unsigned char>(grid ? 255 : (x * 255 / width + seed) % 256);
            p[1] = static_cast<unsigned char>(grid ? 255 : (y * 255 / height) % 256);
            p[2] = static_cast<unsigned char>((x ^ y) + seed);
        }
    WandPtr wand(newCanvas(width, height, "#000000"));
    MagickImportImagePixels(wand.get(), 0, 0, width, height, "RGB", CharPixel, pixels.data());
    return wand;
}

struct Timing {
    int frames = 0;
    double msPerFrame = 0;
};

Timing timeIndex(int index, int W, int H, MagickWand* canvas, MagickWand* previous) {
    EffectContext ctx;
    ctx.W = W;
    ctx.H = H;
    ctx.canvas = canvas;
    ctx.holdFrames = 0;
    ctx.previous.reset(CloneMagickWand(previous));
    auto start = std::chrono::steady_clock::now();
    WandPtr result = runEffect(index, ctx);
    auto end = std::chrono::steady_clock::now();
    Timing timing;
    timing.frames = ctx.framesWritten;
    double ms = std::chrono::duration<double, std::milli>(end - start).count();
    timing.msPerFrame = timing.frames > 0 ? ms / timing.frames : 0;
    return timing;
}

bool parseSize(const char* text, int& W, int& H) {
    return std::sscanf(text, "%dx%d", &W, &H) == 2 && W > 0 && H > 0;
}

int usage() {
    std::fprintf(stderr, "usage: effect_table_bench [--size WxH] [--no-jpeg] [index...]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    int W = 800, H = 800;
    bool jpeg = true;
    std::vector<int> indices;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
            if (!parseSize(argv[++i], W, H)) return usage();
        } else if (std::strcmp(argv[i], "--no-jpeg") == 0) {
            jpeg = false;
        } else {
            char* end = nullptr;
            long index = std::strtol(argv[i], &end, 10);
            if (*end != '\0' || index < 0 || index > kNoAnimation) return usage();
            indices.push_back(static_cast<int>(index));
        }
    }
    if (indices.empty())
        for (int i = 0; i < kEffectTableSize; ++i) indices.push_back(i);

    MagickWandGenesis();
    frameSink = acceptFrame;
    {
        WandPtr canvas = testPicture(W, H, 0);
        WandPtr previous = testPicture(W, H, 90);
        std::printf("%dx%d, milliseconds per frame\n", W, H);
        std::printf("%5s  %6s  %8s  %8s  %s\n", "index", "frames", "draw", jpeg ? "+jpeg" : "",
                    "name");
        for (int index : indices) {
            FrameEncoder saved = setFrameEncoder(tokenEncoder);
            Timing draw = timeIndex(index, W, H, canvas.get(), previous.get());
            setFrameEncoder(saved);
            std::string withJpeg;
            if (jpeg) {
                Timing full = timeIndex(index, W, H, canvas.get(), previous.get());
                char text[32];
                std::snprintf(text, sizeof text, "%8.1f", full.msPerFrame);
                withJpeg = text;
            }
            const char* name = index < kEffectTableSize && effectTable[index].name
                                   ? effectTable[index].name
                                   : kNoAnimationName;
            std::printf("%5d  %6d  %8.1f  %8s  %s\n", index, draw.frames, draw.msPerFrame,
                        withJpeg.c_str(), name);
            std::fflush(stdout);
        }
    }
    MagickWandTerminus();
    return 0;
}
