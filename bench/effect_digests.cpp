// Digests of every frame every effect draws, for checking that a change to
// the drawing code leaves each frame's bytes as they were.
//
//   effect_digests --photographs DIR [--size WxH]... [--workers N] [--rgb]
//                  [--imagemagick-only]
//
// Renders a list of the named effects in table order, one picture each,
// from the photographs of DIR ("photo N.jpg", as generation_bench
// --write-photographs writes them) in turn, with a caption on every third
// picture and a logo on every frame, through the render engine with the
// workers (8), at each size (799x601, 800x800 and 1080x1440). Prints, per
// size and picture, the effect's index and the MD5 of its frames' bytes in
// order (YUV 4:2:0 as for a video, or RGB with --rgb), then one digest of
// the whole stream. Two builds' outputs (or a run with --imagemagick-only,
// which leaves every resize, composite, distortion and shape mask to
// ImageMagick's own calls) are compared with diff. Without it, as the
// program does at start, the own work is first checked against the
// installed ImageMagick and left to it where they differ.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <wand/MagickWand.h>

#include "foundation/md5.h"
#include "render/effects/effect_table.h"
#include "render/font_map.h"
#include "render/magick_mirror/mirror_check.h"
#include "render/magick_mirror/own_pixel_work.h"
#include "render/render_engine.h"
#include "render/wand_ptr.h"

namespace {

struct Recorder {
    std::vector<std::string> pictureDigests;
    Md5Context picture{};
    Md5Context whole{};
    std::vector<unsigned char> last;
};

int record(void* handle, const void* bytes, std::uint32_t length, std::uint32_t* written, void*) {
    auto* recorder = static_cast<Recorder*>(handle);
    const auto* data = static_cast<const unsigned char*>(bytes);
    md5_update(&recorder->picture, data, length);
    md5_update(&recorder->whole, data, length);
    recorder->last.assign(data, data + length);
    if (written) *written = length;
    return 1;
}

int recordRepeat(void* handle) {
    auto* recorder = static_cast<Recorder*>(handle);
    std::vector<unsigned char> again = recorder->last;
    std::uint32_t written = 0;
    return record(handle, again.data(), static_cast<std::uint32_t>(again.size()), &written,
                  nullptr);
}

std::string hexOf(Md5Context& context) {
    unsigned char digest[16];
    md5_final(&context, digest);
    char text[33];
    for (int i = 0; i < 16; ++i) std::snprintf(text + 2 * i, 3, "%02x", digest[i]);
    return text;
}

// A small logo with a transparent corner, as users lay one.
WandPtr makeLogo() {
    WandPtr logo(NewMagickWand());
    PixelWandPtr ground = newPixelWand("#2060c0");
    MagickNewImage(logo.get(), 90, 40, ground.get());
    MagickSetImageAlphaChannel(logo.get(), SetAlphaChannel);
    DrawingWandPtr draw(NewDrawingWand());
    PixelWandPtr clear = newPixelWand("#ffffff80");
    DrawSetFillColor(draw.get(), clear.get());
    DrawRectangle(draw.get(), 60, 0, 89, 15);
    MagickDrawImage(logo.get(), draw.get());
    return logo;
}

} // namespace

int main(int argc, char** argv) {
    std::string photographs;
    std::vector<std::pair<int, int>> sizes;
    int workers = 8;
    FramePixels layout = FramePixels::Yuv420p;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        int width = 0, height = 0;
        if (option == "--rgb") {
            layout = FramePixels::Rgb24;
        } else if (option == "--imagemagick-only") {
            ownPixelWork = false;
        } else if (option == "--photographs" && i + 1 < argc) {
            photographs = argv[++i];
        } else if (option == "--workers" && i + 1 < argc) {
            workers = std::atoi(argv[++i]);
        } else if (option == "--size" && i + 1 < argc &&
                   std::sscanf(argv[++i], "%dx%d", &width, &height) == 2 && width > 0 &&
                   height > 0) {
            sizes.push_back({width, height});
        } else {
            std::fprintf(stderr,
                         "usage: effect_digests --photographs DIR [--size WxH]... [--workers N] "
                         "[--rgb] [--imagemagick-only]\n");
            return 2;
        }
    }
    if (photographs.empty() || !std::filesystem::exists(photographs + "/photo 0.jpg")) {
        std::fprintf(stderr, "no photographs in '%s' (generation_bench --write-photographs)\n",
                     photographs.c_str());
        return 1;
    }
    if (sizes.empty()) sizes = {{799, 601}, {800, 800}, {1080, 1440}};
    int photos = 0;
    while (std::filesystem::exists(photographs + "/photo " + std::to_string(photos) + ".jpg"))
        ++photos;

    MagickWandGenesis();
    checkOwnPixelWork();
    WandPtr logo = makeLogo();
    std::vector<int> effects;
    for (int index = 0; index < kEffectTableSize; ++index)
        if (effectTable[index].name) effects.push_back(index);

    Md5Context all{};
    md5_init(&all);
    for (auto [width, height] : sizes) {
        RenderSettings settings;
        settings.width = width;
        settings.height = height;
        settings.pauseFrames = 4;
        settings.captionMargins = defaultCaptionMargins;
        settings.captionFontSize = 36;
        settings.outputMode = 1;
        settings.framePixels = layout;
        settings.logo = {logo.get(), width - 100, 10};
        for (std::size_t i = 0; i < effects.size(); ++i) {
            PictureToRender picture;
            picture.path = photographs + "/photo " + std::to_string(i % photos) + ".jpg";
            picture.effectIndex = effects[i];
            if (i % 3 == 2) {
                picture.caption.mode = 1;
                picture.caption.position = static_cast<int>(i % 9);
                picture.caption.fontName = "黑体";
                picture.caption.textColor = rgbColor(255, 255, 255);
                picture.caption.boxColor = i % 2 ? rgbColor(200, 30, 30) : picture.caption.textColor;
                picture.caption.text = "新品上市 限时特惠";
                picture.fontPath = captionFontPath(picture.caption.fontName);
            }
            settings.pictures.push_back(picture);
        }
        Recorder recorder;
        md5_init(&recorder.whole);
        md5_init(&recorder.picture);
        RenderRunHooks hooks;
        int started = 0;
        hooks.pictureStarted = [&](int n) {
            if (n > 1) recorder.pictureDigests.push_back(hexOf(recorder.picture));
            md5_init(&recorder.picture);
            started = n;
        };
        RenderOutcome outcome =
            renderFrameStream(settings, {record, recordRepeat, &recorder}, hooks, workers);
        if (started > 0) recorder.pictureDigests.push_back(hexOf(recorder.picture));
        if (outcome != RenderOutcome::Completed) {
            std::fprintf(stderr, "the run at %dx%d did not complete\n", width, height);
            return 1;
        }
        for (std::size_t i = 0; i < recorder.pictureDigests.size(); ++i)
            std::printf("%dx%d %2d %s\n", width, height, effects[i],
                        recorder.pictureDigests[i].c_str());
        std::string whole = hexOf(recorder.whole);
        std::printf("%dx%d all %s\n", width, height, whole.c_str());
        md5_update(&all, reinterpret_cast<const unsigned char*>(whole.data()), whole.size());
        std::fflush(stdout);
    }
    std::printf("every size %s\n", hexOf(all).c_str());
    logo.reset();
    MagickWandTerminus();
    return 0;
}
