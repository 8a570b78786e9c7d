// Time of a whole generation against the encoder's own share of it.
//
//   generation_bench [--pictures N] [--keep]
//
// For each of two lists of N (20) pictures of 1000 x 800 — a busy synthetic
// one (gradients crossed by thin lines, costly to encode) and a photo-like
// one (smooth blurred fractal clouds, cheap to encode like real product
// photographs) — generates an 800 x 800 video with the default pause
// ("1.6秒"), the first picture without animation and the others cycling
// over the effects, through the real generate command and tool/ffmpeg
// beside this program, with the render workers of this machine and with
// one. Then the same frames, rendered into memory beforehand, are fed to
// the encoder alone with the same command line. Prints, per list and worker
// count, both times, their ratio and the peak memory of the generation.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include <wand/MagickWand.h>

#include "bench/photo_like_picture.h"
#include "foundation/array_list.h"
#include "foundation/globals.h"
#include "foundation/heap_alloc.h"
#include "foundation/linked_list.h"
#include "platform/child_process.h"
#include "platform/command_ids.h"
#include "platform/file_dialog.h"
#include "platform/progress_window.h"
#include "platform/window_controls.h"
#include "production/encoder_command.h"
#include "production/encoder_pipeline.h"
#include "production/program_folders.h"
#include "production/timing.h"
#include "render/effects/effect_table.h"
#include "render/image.h"
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

// The photo-like list's writer (the seed is not needed).
void writePhotoLike(const std::string& path, int width, int height, int) {
    writePhotoLikePicture(path, width, height);
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

std::string benchOutput;
unsigned outcome = 0;

int answerSave(void*, const std::string&, const std::vector<FileFilter>&, const std::string&,
               std::string& folder, std::string& file) {
    file = benchOutput;
    folder = benchOutput.substr(0, benchOutput.rfind('/'));
    return 1;
}
void progressStart(const std::string&, int, std::atomic<int>*) {}
void progressUpdate(int) {}
void progressMessage(unsigned message) { outcome = message; }
const ProgressWindowHandler progressWindow = {progressStart, progressUpdate, progressMessage};

// A held frame is kept once: raw frames are large (1.9 MB at 800 x 800).
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

void renderIntoMemory() {
    capturedFrames.clear();
    renderFrameStream(takeRenderSettings(), {captureFrame, captureRepeat, nullptr}, {},
                      renderWorkerCount());
}

// The process's peak resident memory since the last reset, in MB (-1 when
// the system does not tell).
void resetPeakMemory() {
    if (FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", refs);
        std::fclose(refs);
    }
}
long peakMemoryMb() {
    FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) return -1;
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, status))
        if (std::sscanf(line, "VmHWM: %ld kB", &kb) == 1) break;
    std::fclose(status);
    return kb < 0 ? -1 : kb / 1024;
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

struct Timing {
    double whole = -1;
    double encoderAlone = -1;
    std::size_t frames = 0;
    long peakMb = -1;  // during the generation
};

// One generation with the given workers, and the encoder alone on its frames.
Timing timeGeneration(const std::string& folder, int workers) {
    Timing timing;
    setRenderWorkerCount(workers);
    outcome = 0;
    benchOutput = folder + "/generated.mp4";
    resetPeakMemory();
    Clock::time_point start = Clock::now();
    generateVideo();
    waitForVideoThreads();
    timing.whole = secondsSince(start);
    timing.peakMb = peakMemoryMb();
    if (outcome != WM_ENCODE_DONE) {
        std::fprintf(stderr, "generation did not finish (outcome 0x%x)\n", outcome);
        timing.whole = -1;
        return timing;
    }
    setRenderWorkerCount(0);
    renderIntoMemory();
    timing.encoderAlone = encodeFromMemory(folder + "/encoder-only.mp4");
    timing.frames = capturedFrames.size();
    capturedFrames.clear();
    return timing;
}

using PictureWriter = void (*)(const std::string&, int, int, int);

void fillPictureList(const std::string& folder, const char* name, PictureWriter write,
                     int pictures, const std::vector<int>& effects) {
    for (int i = 0; i < linkedlist_size(pictureList); ++i)
        delete static_cast<PictureRecord*>(linkedlist_get(pictureList, i));
    linkedlist_clear(pictureList, 0);
    for (int i = 0; i < pictures; ++i) {
        auto* picture = new PictureRecord;
        picture->path = folder + "/" + name + " " + std::to_string(i) + ".jpg";
        picture->fileName = name + std::string(" ") + std::to_string(i) + ".jpg";
        picture->effectIndex = i == 0 || effects.empty() ? kNoAnimation
                                                         : effects[(i - 1) % effects.size()];
        picture->effectName = getEffectName(picture->effectIndex);
        write(picture->path, 1000, 800, i);
        linkedlist_add(pictureList, picture);
    }
}

} // namespace

int main(int argc, char** argv) {
    int pictures = 20;
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--pictures") == 0 && i + 1 < argc) pictures = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--keep") == 0) keep = true;
    }
    MagickWandGenesis();
    locateProgramFolders();
    buildEffectNameMap();

    std::string folder = (std::filesystem::temp_directory_path() / "tevrako-bench-XXXXXX").string();
    if (!mkdtemp(folder.data())) return 1;
    workFolder = folder;

    // The main window's state for an 800 x 800 video with the default pause.
    for (int i = 0; i < 15; ++i) comboAddString(IDC_VIDEO_SIZE, "size");
    comboSetCurSel(IDC_VIDEO_SIZE, 10);
    for (int i = 0; i < kPauseEntries; ++i) comboAddString(IDC_PAUSE_TIME, pauseEntryLabels[i]);
    comboSetCurSel(IDC_PAUSE_TIME, kDefaultPauseEntry);
    comboAddString(IDC_MUSIC, "");
    comboSetCurSel(IDC_MUSIC, 0);
    videoWidth = videoHeight = 800;
    pauseFrames = pauseFramesForSeconds(pauseSecondsTable[kDefaultPauseEntry]);
    setSaveFileDialogHandler(answerSave);
    setProgressWindowHandler(&progressWindow);

    std::vector<int> effects = builtEffects();
    const int machineWorkers = renderWorkerCount();
    pictureList = linkedlist_new();
    struct List {
        const char* name;
        PictureWriter write;
    };
    const List lists[] = {{"busy", writeBusyPicture}, {"photo-like", writePhotoLike}};
    int status = 0;
    for (const List& list : lists) {
        fillPictureList(folder, list.name, list.write, pictures, effects);
        int frames = getTotalFrames();
        std::printf("\n%s list: %d pictures of 1000 x 800, %d frames (%.2f s of video at 800 x 800)\n",
                    list.name, pictures, frames, frames / 25.0);
        std::printf("  %7s  %10s  %13s  %6s  %8s\n", "workers", "generation", "encoder alone", "ratio",
                    "peak MB");
        for (int workers : {machineWorkers, 1}) {
            Timing timing = timeGeneration(folder, workers);
            if (timing.whole < 0 || timing.encoderAlone < 0) {
                std::fprintf(stderr, "the %s list failed with %d workers\n", list.name, workers);
                status = 1;
                continue;
            }
            std::printf("  %7d  %8.2f s  %11.2f s  %6.2f  %8ld\n", workers, timing.whole,
                        timing.encoderAlone, timing.whole / timing.encoderAlone, timing.peakMb);
            std::fflush(stdout);
        }
    }

    for (int i = 0; i < linkedlist_size(pictureList); ++i)
        delete static_cast<PictureRecord*>(linkedlist_get(pictureList, i));
    linkedlist_free(pictureList, 0);
    pictureList = nullptr;
    if (keep) std::printf("files kept in %s\n", folder.c_str());
    else std::filesystem::remove_all(folder);
    MagickWandTerminus();
    return status;
}
