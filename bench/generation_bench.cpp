// Time of a whole generation against the encoder's own share of it.
//
//   generation_bench [--list busy|photo-like|photographs|photographs-mixed] [--size WxH]
//                    [--workers N] [--runs N] [--pictures N]
//                    [--photographs DIR] [--generation-only] [--keep]
//                    [--imagemagick-only] [--no-run-memory]
//   generation_bench --write-photographs DIR
//
// Three lists: a busy synthetic one (gradients crossed by thin lines,
// costly to encode) and a photo-like one (smooth blurred fractal clouds),
// N (20) pictures of 1000 x 800 each, made into 800 x 800 videos; and 16
// real photographs of 1000-1600 px (bench/photographs.h, from two Debian
// wallpaper packages, or the "photo N.jpg" files of DIR), made into
// 800 x 800 and 1080 x 1440 videos, twice: "photographs" cycles over the
// first effects of the table without captions, "photographs-mixed" takes
// effects spread over the whole table (the costly flips, turns and shapes
// among them) and a caption on every third picture, as sellers make them.
// Every video has the default pause ("1.6秒") and the first picture without
// animation; the busy and photo-like lists cycle over the effects. Each
// goes through the real generate command and tool/ffmpeg beside this
// program, with the render workers of this machine and with one. Then the
// same frames, rendered into memory beforehand, are fed to the encoder
// alone with the same command line. With --runs the two alternate that
// many times and the medians are printed. Prints, per list, size and
// worker count, both times, their ratio, the peak memory of the generation
// and the CPU time of rendering the frames into memory; with
// --generation-only only the generation's time. --imagemagick-only leaves
// every resize, composite, distortion and shape mask to ImageMagick's own
// calls (the same frames, at their cost): the control of a comparison.
// Otherwise, as the program does at start, the own work is first checked
// against the installed ImageMagick and left to it where they differ.
// --no-run-memory leaves every block to the C library's heap, as before
// runs had memory of their own (render/magick_memory.h): the control of a
// comparison of time and memory.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include <wand/MagickWand.h>

#include "bench/generation_run.h"
#include "bench/photo_like_picture.h"
#include "bench/photographs.h"
#include "bench/process_memory.h"
#include "foundation/array_list.h"
#include "foundation/globals.h"
#include "foundation/heap_alloc.h"
#include "foundation/linked_list.h"
#include "platform/child_process.h"
#include "platform/command_ids.h"
#include "platform/window_controls.h"
#include "production/encoder_command.h"
#include "production/generation_settings.h"
#include "production/program_folders.h"
#include "production/timing.h"
#include "render/effects/effect_table.h"
#include "render/image.h"
#include "render/magick_memory.h"
#include "render/magick_mirror/mirror_check.h"
#include "render/magick_mirror/own_pixel_work.h"
#include "render/picture_renderer.h"
#include "render/render_engine.h"
#include "render/wand_ptr.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Smooth gradients crossed by thin lines: every block of a frame has edges,
// so encoding costs more than real pictures do.
void writeBusyPicture(const std::string& path, int width, int height, int seed) {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 3];
            bool line = (x * 7 + seed * 13) % 53 < 3 || (y * 5 + seed) % 47 < 2;
            p[0] = static_cast<unsigned char>(line ? 240 : (x * 200 / width + seed * 11) % 256);
            p[1] = static_cast<unsigned char>(line ? 240 : (y * 220 / height + seed * 29) % 256);
            p[2] = static_cast<unsigned char>((x + y) * 255 / (width + height) + seed * 3);
        }
    WandPtr wand(newCanvas(width, height, "#000000"));
    MagickImportImagePixels(wand.get(), 0, 0, width, height, "RGB", CharPixel, pixels.data());
    MagickSetImageCompressionQuality(wand.get(), 90);
    MagickWriteImage(wand.get(), path.c_str());
}

// Effect indices whose transition draws frames; the others still render
// as no animation.
std::vector<int> builtEffects() {
    std::vector<int> built;
    for (int index = 0; index < kEffectTableSize; ++index) {
        if (!effectTable[index].name) continue;
        EffectContext ctx;
        ctx.W = ctx.H = 800;
        int frames = 0;
        ctx.outFrames = &frames;
        runEffect(index, ctx);
        if (frames > 0) built.push_back(index);
    }
    return built;
}

// A held frame is kept once: raw frames are large (0.96 MB at 800 x 800).
std::vector<std::shared_ptr<const std::string>> capturedFrames;
int captureFrame(void*, const void* bytes, std::uint32_t length, std::uint32_t* written, void*) {
    capturedFrames.push_back(
        std::make_shared<const std::string>(static_cast<const char*>(bytes), length));
    if (written) *written = length;
    return 1;
}
int captureRepeat(void*) {
    if (capturedFrames.empty()) return 0;
    capturedFrames.push_back(capturedFrames.back());
    return 1;
}

// The frames as the generation renders them, in the encoder's input format.
void renderIntoMemory() {
    capturedFrames.clear();
    renderFrameStream(takeGenerationSettings()->render, {captureFrame, captureRepeat, nullptr}, {},
                      renderWorkerCount());
}


bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The encoder alone: the same command line, the frames from memory.
double encodeFromMemory(const std::string& output) {
    EncoderOptions options;
    options.output = output;
    ArgumentList argv = standardInputCommandLine(ffmpegPath, videoWidth, videoHeight, durationText,
                                                 options);
    int input[2];
    if (pipe2(input, O_CLOEXEC) != 0) return -1;
    ChildProcessSetup setup;
    setup.stdinFd = input[0];
    int error = 0;
    Clock::time_point start = Clock::now();
    int pid = startChildProcess(argv, setup, &error);
    close(input[0]);
    if (pid < 0) {
        close(input[1]);
        return -1;
    }
    for (const auto& frame : capturedFrames)
        if (!writeAll(input[1], *frame)) break;
    close(input[1]);
    int exitCode = waitChildProcess(pid);
    double seconds = secondsSince(start);
    return exitCode == 0 ? seconds : -1;
}

double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

struct Timing {
    double whole = -1;
    double encoderAlone = -1;
    double renderCpu = -1;  // CPU seconds of rendering the frames into memory
    std::size_t frames = 0;
    long peakMb = -1;  // during the generation
};

// One generation with the given workers; false when it did not finish.
bool timeGenerationAlone(const std::string& folder, int workers, Timing& timing) {
    setRenderWorkerCount(workers);
    bench::resetPeakMemory();
    Clock::time_point start = Clock::now();
    bool finished = bench::runGeneration(folder + "/generated.mp4");
    timing.whole = finished ? secondsSince(start) : -1;
    timing.peakMb = bench::processMemoryMb("VmHWM");
    return finished;
}

// One generation with the given workers, and the encoder alone on its frames.
Timing timeGeneration(const std::string& folder, int workers, bool generationOnly) {
    Timing timing;
    if (!timeGenerationAlone(folder, workers, timing) || generationOnly) return timing;
    setRenderWorkerCount(0);
    double cpuBefore = processCpuSeconds();
    renderIntoMemory();
    timing.renderCpu = processCpuSeconds() - cpuBefore;
    timing.encoderAlone = encodeFromMemory(folder + "/encoder-only.mp4");
    timing.frames = capturedFrames.size();
    capturedFrames.clear();
    return timing;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

using PictureWriter = bool (*)(const std::string&, int, int, int);

bool writeBusy(const std::string& path, int width, int height, int seed) {
    writeBusyPicture(path, width, height, seed);
    return true;
}
bool writePhotoLike(const std::string& path, int width, int height, int) {
    writePhotoLikePicture(path, width, height);
    return true;
}
bool writeRealPhotograph(const std::string& path, int, int, int index) {
    return writePhotograph(path, index);
}
// The photograph already written into photographFolder.
std::string photographFolder;
bool keepWrittenPhotograph(const std::string&, int, int, int) { return true; }

void clearPictureList() {
    for (int i = 0; i < linkedlist_size(pictureList); ++i)
        delete static_cast<PictureRecord*>(linkedlist_get(pictureList, i));
    linkedlist_clear(pictureList, 0);
}

// One effect from every few rows of the table, a family each: zoom, grow,
// wipe-out, circle, clock, staircase, turn, diamond, X, flip, scan, arrow,
// sweep, move-grow, door.
const std::vector<int> kSpreadEffects = {1, 9, 18, 25, 33, 42, 46, 55, 58, 61, 65, 74, 79, 89, 96};

// Captions as sellers write them, in boxes and without, at several places.
void addCaption(CaptionRecord& caption, int picture) {
    static const char* const texts[] = {"新品上市 限时特惠", "全国包邮", "买二送一 正品保证",
                                        "加厚保暖 四季可用", "现货速发"};
    caption.mode = 1;
    caption.position = (picture * 2) % 9;
    caption.fontName = "黑体";
    caption.textColor = rgbColor(255, 255, 255);
    caption.boxColor = picture % 2 ? caption.textColor : rgbColor(200, 30, 30);
    caption.text = texts[(picture / 3) % 5];
}

bool fillPictureList(const std::string& folder, const char* name, PictureWriter write,
                     int pictures, const std::vector<int>& effects, bool captions) {
    clearPictureList();
    for (int i = 0; i < pictures; ++i) {
        auto* picture = new PictureRecord;
        picture->path = folder + "/" + name + " " + std::to_string(i) + ".jpg";
        picture->fileName = name + std::string(" ") + std::to_string(i) + ".jpg";
        picture->effectIndex = i == 0 || effects.empty() ? kNoAnimation
                                                         : effects[(i - 1) % effects.size()];
        picture->effectName = getEffectName(picture->effectIndex);
        if (captions && i % 3 == 2) addCaption(*picture->caption, i);
        linkedlist_add(pictureList, picture);
        if (!write(picture->path, 1000, 800, i)) return false;
    }
    return true;
}

struct Size {
    int width;
    int height;
};

struct List {
    const char* name;        // as --list names it
    const char* fileName;    // the pictures' file names
    PictureWriter write;
    int pictures;
    std::vector<Size> sizes;
    const std::vector<int>* effects = nullptr;  // null: every built effect in turn
    bool captions = false;                      // on every third picture
};

bool parseSize(const char* text, Size& size) {
    return std::sscanf(text, "%dx%d", &size.width, &size.height) == 2 && size.width > 0 &&
           size.height > 0;
}

// Runs the list's generation (and the encoder alone) runs times with the
// workers and prints their medians; false when a run failed.
bool measure(const std::string& folder, int workers, int runs, bool generationOnly) {
    std::vector<double> whole, alone, ratios, renderCpu;
    long peakMb = 0;
    for (int run = 0; run < runs; ++run) {
        Timing timing = timeGeneration(folder, workers, generationOnly);
        if (timing.whole < 0 || (!generationOnly && timing.encoderAlone < 0)) return false;
        whole.push_back(timing.whole);
        alone.push_back(timing.encoderAlone);
        ratios.push_back(timing.whole / timing.encoderAlone);
        renderCpu.push_back(timing.renderCpu);
        peakMb = std::max(peakMb, timing.peakMb);
    }
    if (generationOnly)
        std::printf("  %7d  %8.2f s  %13s  %6s  %8ld  %10s\n", workers, median(whole), "-", "-",
                    peakMb, "-");
    else
        std::printf("  %7d  %8.2f s  %11.2f s  %6.2f  %8ld  %8.2f s\n", workers, median(whole),
                    median(alone), median(ratios), peakMb, median(renderCpu));
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    int pictures = 20;
    int runs = 1;
    int onlyWorkers = 0;
    bool keep = false;
    bool generationOnly = false;
    bool runMemory = true;
    const char* onlyList = nullptr;
    std::vector<Size> onlySizes;
    std::string writeTo;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--generation-only") {
            generationOnly = true;
            continue;
        }
        if (option == "--keep") {
            keep = true;
            continue;
        }
        if (option == "--imagemagick-only") {
            ownPixelWork = false;
            continue;
        }
        if (option == "--no-run-memory") {
            runMemory = false;
            continue;
        }
        const char* value = i + 1 < argc ? argv[++i] : "";
        Size size{};
        if (option == "--pictures") pictures = std::atoi(value);
        else if (option == "--runs") runs = std::max(1, std::atoi(value));
        else if (option == "--workers") onlyWorkers = std::atoi(value);
        else if (option == "--list") onlyList = value;
        else if (option == "--size" && parseSize(value, size)) onlySizes.push_back(size);
        else if (option == "--photographs") photographFolder = value;
        else if (option == "--write-photographs") writeTo = value;
        else {
            std::fprintf(stderr, "unknown argument %s %s\n", option.c_str(), value);
            return 2;
        }
    }
    if (runMemory) useRunMemoryForImageMagick();
    MagickWandGenesis();
    checkOwnPixelWork();
    const int photographs = static_cast<int>(photographSources().size());
    if (!writeTo.empty()) {
        std::filesystem::create_directories(writeTo);
        for (int i = 0; i < photographs; ++i)
            if (!writePhotograph(writeTo + "/photo " + std::to_string(i) + ".jpg", i)) {
                std::fprintf(stderr, "%s is missing (%s)\n", photographSources()[i].c_str(),
                             kPhotographPackages);
                return 1;
            }
        MagickWandTerminus();
        return 0;
    }
    locateProgramFolders();
    buildEffectNameMap();

    std::string folder = (std::filesystem::temp_directory_path() / "tevrako-bench-XXXXXX").string();
    if (!mkdtemp(folder.data())) return 1;
    workFolder = folder;

    // The main window's state for a video with the default pause.
    for (int i = 0; i < 15; ++i) comboAddString(IDC_VIDEO_SIZE, "size");
    comboSetCurSel(IDC_VIDEO_SIZE, 10);
    for (int i = 0; i < kPauseEntries; ++i) comboAddString(IDC_PAUSE_TIME, pauseEntryLabels[i]);
    comboSetCurSel(IDC_PAUSE_TIME, kDefaultPauseEntry);
    comboAddString(IDC_MUSIC, "");
    comboSetCurSel(IDC_MUSIC, 0);
    comboAddString(IDC_FONT_SIZE, "36");  // the default caption size
    comboSetCurSel(IDC_FONT_SIZE, 0);
    pauseFrames = pauseFramesForSeconds(pauseSecondsTable[kDefaultPauseEntry]);
    bench::prepareGeneration();

    std::vector<int> effects = builtEffects();
    std::vector<int> workerCounts = {renderWorkerCount(), 1};
    if (onlyWorkers > 0) workerCounts = {onlyWorkers};
    pictureList = linkedlist_new();
    const PictureWriter photographWriter =
        photographFolder.empty() ? writeRealPhotograph : keepWrittenPhotograph;
    const std::vector<List> lists = {
        {"busy", "busy", writeBusy, pictures, {{800, 800}}},
        {"photo-like", "photo-like", writePhotoLike, pictures, {{800, 800}}},
        {"photographs", "photo", photographWriter, photographs, {{800, 800}, {1080, 1440}}},
        {"photographs-mixed", "photo", photographWriter, photographs, {{800, 800}, {1080, 1440}},
         &kSpreadEffects, true},
    };
    int status = 0;
    for (const List& list : lists) {
        if (onlyList && std::strcmp(onlyList, list.name) != 0) continue;
        const bool written = list.write == keepWrittenPhotograph;
        if (!fillPictureList(written ? photographFolder : folder, list.fileName, list.write,
                             list.pictures, list.effects ? *list.effects : effects,
                             list.captions)) {
            std::fprintf(stderr, "\n%s list skipped: its pictures could not be written (%s)\n",
                         list.name, kPhotographPackages);
            continue;
        }
        for (Size size : onlySizes.empty() ? list.sizes : onlySizes) {
            videoWidth = size.width;
            videoHeight = size.height;
            int frames = getTotalFrames();
            std::printf("\n%s list: %d pictures, %d frames (%.2f s of video at %d x %d), %d run%s\n",
                        list.name, list.pictures, frames, frames / 25.0, size.width, size.height,
                        runs, runs > 1 ? "s, medians" : "");
            std::printf("  %7s  %10s  %13s  %6s  %8s  %10s\n", "workers", "generation",
                        "encoder alone", "ratio", "peak MB", "render CPU");
            for (int workers : workerCounts)
                if (!measure(folder, workers, runs, generationOnly)) {
                    std::fprintf(stderr, "the %s list failed with %d workers\n", list.name, workers);
                    status = 1;
                }
        }
    }

    clearPictureList();
    linkedlist_free(pictureList, 0);
    pictureList = nullptr;
    if (keep) std::printf("files kept in %s\n", folder.c_str());
    else std::filesystem::remove_all(folder);
    MagickWandTerminus();
    return status;
}
