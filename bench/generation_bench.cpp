// Time of a whole generation against the encoder's own share of it.
//
//   generation_bench [--pictures N] [--keep]
//
// Makes N (20) pictures of 1000 x 800 and generates an 800 x 800 video with
// the default pause ("1.6秒"), the first picture without animation and the
// others cycling over the effects that are built (those whose transition
// has frames), through the real generate command and tool/ffmpeg beside
// this program. Then the same frames, rendered into memory beforehand, are
// fed to the encoder alone with the same command line. Prints both times
// and their ratio.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include <wand/MagickWand.h>

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
#include "render/wand_ptr.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A product-photo-like picture: smooth gradients crossed by thin lines,
// so that encoding costs what real pictures cost.
void writeBenchPicture(const std::string& path, int width, int height, int seed) {
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

std::vector<std::string> capturedFrames;
int captureFrame(void*, const void* bytes, std::uint32_t length, std::uint32_t* written, void*) {
    capturedFrames.emplace_back(static_cast<const char*>(bytes), length);
    if (written) *written = length;
    return 1;
}

void renderIntoMemory() {
    FrameSink saved = frameSink;
    frameSink = captureFrame;
    MagickWand* previous = nullptr;
    for (int i = 0; i < linkedlist_size(pictureList); ++i) {
        auto* picture = static_cast<const PictureRecord*>(linkedlist_get(pictureList, i));
        previous = renderPicture(picture, previous, nullptr);
    }
    if (previous) DestroyMagickWand(previous);
    frameSink = saved;
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
    for (const std::string& frame : capturedFrames)
        if (!writeAll(input[1], frame)) break;
    close(input[1]);
    int exitCode = waitChildProcess(pid);
    double seconds = secondsSince(start);
    return exitCode == 0 ? seconds : -1;
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

    std::vector<int> effects = builtEffects();
    pictureList = linkedlist_new();
    std::printf("pictures: %d of 1000 x 800; effects cycled:", pictures);
    for (int i = 0; i < pictures; ++i) {
        auto* picture = new PictureRecord;
        picture->path = folder + "/picture " + std::to_string(i) + ".jpg";
        picture->fileName = "picture " + std::to_string(i) + ".jpg";
        picture->effectIndex = i == 0 || effects.empty() ? kNoAnimation
                                                         : effects[(i - 1) % effects.size()];
        picture->effectName = getEffectName(picture->effectIndex);
        writeBenchPicture(picture->path, 1000, 800, i);
        linkedlist_add(pictureList, picture);
        std::printf(" %d", picture->effectIndex);
    }
    std::printf("\n");

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

    int frames = getTotalFrames();
    std::printf("frames: %d (%.2f s of video at 800 x 800)\n", frames, frames / 25.0);

    benchOutput = folder + "/generated.mp4";
    Clock::time_point start = Clock::now();
    generateVideo();
    waitForVideoThreads();
    double whole = secondsSince(start);
    if (outcome != WM_ENCODE_DONE) {
        std::fprintf(stderr, "generation did not finish (outcome 0x%x)\n", outcome);
        return 1;
    }

    start = Clock::now();
    renderIntoMemory();
    double renderOnly = secondsSince(start);
    double encoderOnly = encodeFromMemory(folder + "/encoder-only.mp4");
    if (encoderOnly < 0) {
        std::fprintf(stderr, "the encoder alone failed\n");
        return 1;
    }
    std::printf("whole generation:            %7.2f s\n", whole);
    std::printf("encoder alone, from memory:  %7.2f s (%zu frames)\n", encoderOnly,
                capturedFrames.size());
    std::printf("ratio:                       %7.2f\n", whole / encoderOnly);
    std::printf("(rendering alone, into memory: %.2f s)\n", renderOnly);

    for (int i = 0; i < linkedlist_size(pictureList); ++i)
        delete static_cast<PictureRecord*>(linkedlist_get(pictureList, i));
    linkedlist_free(pictureList, 0);
    pictureList = nullptr;
    if (keep) std::printf("files kept in %s\n", folder.c_str());
    else std::filesystem::remove_all(folder);
    MagickWandTerminus();
    return 0;
}
