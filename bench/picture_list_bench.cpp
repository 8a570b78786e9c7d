// How long adding a batch of camera-sized photos to the picture list takes,
// and the longest the user-interface thread is held for one picture.
//
//   picture_list_bench [--pictures N] [--width W] [--height H] [--no-run-memory]
//
// Writes N (60) noisy JPEGs of W x H (4000 x 3000, a few MB each, as
// camera photos are) and adds them with addPictureFiles, timing each
// picture between the busy-repaint calls that follow every file.
// --no-run-memory leaves ImageMagick's blocks to the C library's heap
// (render/magick_memory.h): the control of a comparison.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <wand/MagickWand.h>

#include "foundation/globals.h"
#include "foundation/linked_list.h"
#include "platform/wait_cursor.h"
#include "production/picture_list.h"
#include "render/magick_memory.h"
#include "render/picture_renderer.h"
#include "render/wand_ptr.h"

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point lastRepaint;
double longestHold = 0.0;

void measureHold() {
    Clock::time_point now = Clock::now();
    longestHold = std::max(longestHold, std::chrono::duration<double>(now - lastRepaint).count());
    lastRepaint = now;
}

void writePhoto(const std::string& path, int width, int height, int seed) {
    WandPtr wand(NewMagickWand());
    std::string spec = "plasma:#" + std::to_string(100000 + seed * 7919 % 899999) + "-#204080";
    MagickSetSize(wand.get(), width, height);
    MagickReadImage(wand.get(), spec.c_str());
    MagickAddNoiseImage(wand.get(), GaussianNoise);
    MagickBlurImage(wand.get(), 0, 1.2);
    MagickSetImageCompressionQuality(wand.get(), 92);
    MagickWriteImage(wand.get(), path.c_str());
}

} // namespace

int main(int argc, char** argv) {
    int pictures = 60, width = 4000, height = 3000;
    bool runMemory = true;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--no-run-memory")) runMemory = false;
        else if (i + 1 == argc) break;
        else if (!std::strcmp(argv[i], "--pictures")) pictures = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--width")) width = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--height")) height = std::atoi(argv[++i]);
    }
    if (runMemory) useRunMemoryForImageMagick();
    MagickWandGenesis();
    buildEffectNameMap();
    initPictureList();
    std::string folder = (std::filesystem::temp_directory_path() / "tevrako-list-bench").string();
    std::filesystem::create_directories(folder);
    std::vector<std::string> paths;
    std::uintmax_t bytes = 0;
    for (int i = 0; i < pictures; ++i) {
        std::string path = folder + "/photo" + std::to_string(i % 8) + ".jpg";
        if (i < 8 && !std::filesystem::exists(path)) writePhoto(path, width, height, i);
        if (i < 8) bytes += std::filesystem::file_size(path);
        paths.push_back(path);
    }
    std::printf("%d photos of %d x %d, %.1f MB on average\n", pictures, width, height,
                bytes / std::min(pictures, 8) / 1048576.0);

    maxPictures = 600;
    setBusyRepaintHandler(measureHold);
    lastRepaint = Clock::now();
    Clock::time_point start = lastRepaint;
    addPictureFiles(paths);
    double total = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("added %d in %.2f s; the longest hold of the user-interface thread: %.0f ms\n",
                linkedlist_size(pictureList), total, longestHold * 1000.0);
    freePictureList();
    MagickWandTerminus();
    return 0;
}
