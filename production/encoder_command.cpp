#include "production/encoder_command.h"

#include <cstdio>
#include <mutex>

#include "foundation/array_list.h"
#include "foundation/file_path.h"
#include "foundation/globals.h"
#include "foundation/text.h"
#include "production/timing.h"

namespace {

void append(ArgumentList& to, const ArgumentList& from) { to.insert(to.end(), from.begin(), from.end()); }

std::string frameSize(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

// The frames arrive as raw planar YUV 4:2:0 pixels (FramePixels::Yuv420p),
// width x height each, at the frame rate: nothing in the stream tells their
// size, so the line does.
ArgumentList frameInput(int width, int height, const std::string& input) {
    return {"-f", "rawvideo", "-pix_fmt", "yuv420p", "-s", frameSize(width, height),
            "-r", std::to_string(FRAME_RATE), "-i", input};
}

// Everything after the frame input, shared by both ways.
void appendOutput(ArgumentList& argv, int width, int height, const std::string& duration,
                  const EncoderOptions& options) {
    append(argv, options.audio);
    append(argv, {"-s", frameSize(width, height), "-t", duration});
    append(argv, options.logo);
    append(argv, {"-pix_fmt", "yuv420p"});
    append(argv, options.bitrate);
    append(argv, {"-v", "error", encoderFileArgument(options.output)});
}

} // namespace

std::string formatDuration(float seconds) {
    int s = static_cast<int>(seconds);
    int ms = static_cast<int>((seconds - static_cast<float>(s)) * 1000.0f);
    char text[32];
    if (s > 59) std::snprintf(text, sizeof text, "00:%02d:%02d.%03d", s / 60, s % 60, ms);
    else std::snprintf(text, sizeof text, "00:00:%02d.%03d", s, ms);
    return text;
}

int logoMargin(int width) { return static_cast<int>(static_cast<double>(width) / 400.0 * 10.0); }

std::string encoderFileArgument(const std::string& path) { return "file:" + path; }

ArgumentList audioInputArguments(int musicIndex) {
    std::string path;
    {
        std::lock_guard<std::mutex> lock(musicPathListLock);
        if (!musicPathList || musicIndex < 1 || musicIndex >= musicPathList->count - 1) return {};
        path = static_cast<const char*>(arraylist_get(musicPathList, musicIndex));
    }
    if (path.empty() || !fileExists(path.c_str())) return {};
    ArgumentList audio;
    // Music the program lists as MP3 is read as MP3: a downloaded file must
    // not make the encoder pick another reader by its content.
    if (str_ends_with_nocase(path.c_str(), ".mp3")) audio = {"-f", "mp3"};
    append(audio, {"-i", encoderFileArgument(path), "-ac", "2", "-ar", "44100", "-ab", "128k"});
    return audio;
}

ArgumentList logoFilterArguments(const std::string& copyName, int position, int width) {
    static const char* const corners[] = {
        "overlay=%d:%d",
        "overlay=%d:main_h-overlay_h-%d",
        "overlay=main_w-overlay_w-%d:%d",
        "overlay=main_w-overlay_w-%d:main_h-overlay_h-%d",
    };
    const int m = logoMargin(width);
    int corner = 1, offset = m;  // no selection: bottom left, inset
    if (position >= 0 && position <= 3) {
        corner = position;
    } else if (position >= 4 && position <= 7) {
        corner = position - 4;
        offset = 0;  // the edge entries
    }
    char overlay[128];
    std::snprintf(overlay, sizeof overlay, corners[corner], offset, offset);
    return {"-vf", "movie='" + copyName + "' [watermark]; [in][watermark] " + overlay + " [out]"};
}

ArgumentList bitrateArguments(int preset, int serviceKbps) {
    switch (preset) {
    case 1: return {"-b:v", "1024k", "-bufsize", "2048k"};
    case 2: return {"-b:v", "2048k", "-bufsize", "4096k"};
    case 3: return {"-b:v", "3072k", "-bufsize", "6144k"};
    default: break;
    }
    if (serviceKbps > 0)
        return {"-b:v", std::to_string(serviceKbps) + "k", "-bufsize",
                std::to_string(2 * serviceKbps) + "k"};
    return {};
}

ArgumentList namedPipeCommandLine(const std::string& encoder, const std::string& pipePath,
                                  int width, int height, const std::string& duration,
                                  const EncoderOptions& options) {
    ArgumentList argv = {encoder, "-y"};
    append(argv, frameInput(width, height, encoderFileArgument(pipePath)));
    appendOutput(argv, width, height, duration, options);
    return argv;
}

ArgumentList standardInputCommandLine(const std::string& encoder, int width, int height,
                                      const std::string& duration, const EncoderOptions& options) {
    ArgumentList argv = {encoder, "-y"};
    append(argv, frameInput(width, height, "pipe:0"));
    appendOutput(argv, width, height, duration, options);
    return argv;
}
