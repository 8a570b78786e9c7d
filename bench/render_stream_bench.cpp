// Sustained frames per second of the ordered frame stream, family by family.
//
//   render_stream_bench [--size WxH] [--workers N] [--pictures N] [--family NAME]
//                       [--imagemagick-only]
//
// For each effect family, a list of N (12) photo-like pictures of 1000 x 800
// whose effects cycle over the family's members is rendered at the size
// (800x800) with the default pause (40 frames) by the render engine with the
// workers (4) into a sink that only counts, frames encoded as for a video.
// Then a list that cycles every named effect. Prints, per list, the frames
// per second of the whole stream and of its transition frames alone (the
// hold frames cost almost nothing), and the CPU time the render took. The
// preview must show 25 a second. --family names the one family to time (no
// "all families" list then); --imagemagick-only leaves every resize,
// composite, distortion and shape mask to ImageMagick's own calls (the same
// frames, at their cost): the control of a comparison. Otherwise, as the
// program does at start, the own work is first checked against the
// installed ImageMagick and left to it where they differ.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "bench/photo_like_picture.h"
#include "foundation/globals.h"
#include "render/effects/effect_table.h"
#include "render/magick_mirror/mirror_check.h"
#include "render/magick_mirror/own_pixel_work.h"
#include "render/render_engine.h"
#include "render/wand_ptr.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Counter {
    long frames = 0;
};

int countFrame(void* handle, const void*, std::uint32_t length, std::uint32_t* written, void*) {
    ++static_cast<Counter*>(handle)->frames;
    *written = length;
    return 1;
}

int countRepeat(void* handle) {
    ++static_cast<Counter*>(handle)->frames;
    return 1;
}

std::string writePhotoLikeFile(const std::string& folder, int seed) {
    std::string path = folder + "/photo " + std::to_string(seed) + ".jpg";
    writePhotoLikePicture(path, 1000, 800);
    return path;
}

int transitionFrames(const RenderSettings& settings) {
    int total = 0;
    for (const PictureToRender& picture : settings.pictures) {
        EffectContext ctx;
        ctx.W = settings.width;
        ctx.H = settings.height;
        int frames = 0;
        ctx.outFrames = &frames;
        runEffect(picture.effectIndex, ctx);
        total += frames;
    }
    return total;
}

void timeList(const char* name, RenderSettings& settings, int workers) {
    Counter counter;
    Clock::time_point start = Clock::now();
    std::clock_t cpuStart = std::clock();
    renderFrameStream(settings, {countFrame, countRepeat, &counter}, {}, workers);
    double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    int transitions = transitionFrames(settings);
    std::printf("%-14s %6ld %8.2f s %8.1f %10.1f %8.2f s\n", name, counter.frames, seconds,
                counter.frames / seconds, transitions / seconds, cpu);
    std::fflush(stdout);
}

int usage() {
    std::fprintf(stderr, "usage: render_stream_bench [--size WxH] [--workers N] [--pictures N] "
                         "[--family NAME] [--imagemagick-only]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    int W = 800, H = 800, workers = 4, pictures = 12;
    const char* onlyFamily = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%dx%d", &W, &H) != 2 || W < 1 || H < 1) return usage();
        } else if (std::strcmp(argv[i], "--workers") == 0 && i + 1 < argc) {
            workers = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--pictures") == 0 && i + 1 < argc) {
            pictures = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--family") == 0 && i + 1 < argc) {
            onlyFamily = argv[++i];
        } else if (std::strcmp(argv[i], "--imagemagick-only") == 0) {
            ownPixelWork = false;
        } else {
            return usage();
        }
    }
    MagickWandGenesis();
    checkOwnPixelWork();
    std::string folder = (std::filesystem::temp_directory_path() / "tevrako-bench-XXXXXX").string();
    if (!mkdtemp(folder.data())) return 1;
    std::vector<std::string> paths;
    for (int i = 0; i < 6; ++i) paths.push_back(writePhotoLikeFile(folder, i));

    // The members of each family, in table order.
    std::vector<const EffectFamily*> order;
    std::map<const EffectFamily*, std::vector<int>> members;
    std::vector<int> named;
    for (int index = 0; index < kEffectTableSize; ++index) {
        if (!effectTable[index].name) continue;
        named.push_back(index);
        const EffectFamily* family = effectTable[index].family;
        if (members[family].empty()) order.push_back(family);
        members[family].push_back(index);
    }

    RenderSettings settings;
    settings.width = W;
    settings.height = H;
    settings.pauseFrames = 40;
    settings.captionMargins = defaultCaptionMargins;
    settings.outputMode = 1;
    auto fill = [&](const std::vector<int>& effects) {
        settings.pictures.clear();
        for (int i = 0; i < pictures; ++i) {
            PictureToRender picture;
            picture.path = paths[i % paths.size()];
            picture.effectIndex = effects[i % effects.size()];
            settings.pictures.push_back(picture);
        }
    };
    std::printf("%dx%d, %d workers, %d pictures per list, pause 40 frames\n", W, H, workers,
                pictures);
    std::printf("%-14s %6s %10s %8s %10s %10s\n", "family", "frames", "time", "fps", "transit/s",
                "CPU");
    for (const EffectFamily* family : order) {
        if (onlyFamily && std::strcmp(onlyFamily, family->name) != 0) continue;
        fill(members[family]);
        timeList(family->name, settings, workers);
    }
    if (onlyFamily) {
        std::filesystem::remove_all(folder);
        MagickWandTerminus();
        return 0;
    }
    std::vector<int> cycle;
    // Every family in turn, so the list mixes costly and cheap pictures.
    for (std::size_t round = 0; cycle.size() < named.size(); ++round)
        for (const EffectFamily* family : order)
            if (round < members[family].size()) cycle.push_back(members[family][round]);
    pictures = static_cast<int>(cycle.size());
    fill(cycle);
    timeList("all families", settings, workers);

    std::filesystem::remove_all(folder);
    MagickWandTerminus();
    return 0;
}
