#include "production/encoder_runners.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <unistd.h>

#include "foundation/globals.h"
#include "net/error_report.h"
#include "net/format_text.h"
#include "platform/child_process.h"
#include "platform/progress_window.h"
#include "production/video_thread.h"
#include "production/video_threads.h"

namespace {

// What an encoder that fails without a word, or a frame that cannot be
// made, most likely means.
constexpr char kLowMemoryText[] =
    "生成视频时发生错误，可能是电脑当前可用内存不足造成的。\n\n可以通过关闭部分其他软件窗口释放内存来解决这个问题，也可以进入官网联系我们的客服。";

// After Stop and the end of its input the encoder only finishes the file;
// one that is still running this long after has hung.
constexpr auto kFinishAfterStop = std::chrono::seconds(10);

// A cut inside a UTF-8 sequence would leave a broken character at the end.
void trimPartialCharacter(std::string& text) {
    std::size_t end = text.size();
    std::size_t start = end;
    while (start > 0 && end - start < 4 && (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80)
        --start;
    if (start == 0) return;
    unsigned char lead = static_cast<unsigned char>(text[start - 1]);
    std::size_t need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (end - (start - 1) < need) text.resize(start - 1);
}

struct Drained {
    std::string text;        // the first kEncoderErrorLimit bytes
    bool endedAfterStop = false;  // ended here because it hung after Stop
};

// Reads the encoder's standard error until it closes or the encoder has
// ended (a process it left behind may hold the pipe open), so a chatty
// encoder never blocks on a full pipe; keeps only the beginning. Meanwhile
// ends an encoder that the video thread abandoned, or that hangs after Stop.
Drained drainEncoderErrors(EncoderAttempt& attempt, int pid, int fd) {
    Drained drained;
    bool killed = false;
    bool ended = false;
    std::optional<std::chrono::steady_clock::time_point> finishing;
    char buffer[4096];
    for (;;) {
        pollfd readable = {fd, POLLIN, 0};
        int ready = poll(&readable, 1, ended ? 0 : 100);
        if (ready > 0) {
            ssize_t n = read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            std::size_t room = kEncoderErrorLimit - drained.text.size();
            drained.text.append(buffer, std::min(room, static_cast<std::size_t>(n)));
            continue;
        }
        if (ready < 0 && errno != EINTR) break;
        if (ended) break;  // what it wrote before it ended has been read
        if (!childProcessRunning(pid)) {
            ended = true;
            continue;
        }
        if (killed) continue;
        if (attempt.abandonEncoder.load()) {
            killChildProcess(pid);
            killed = true;
        } else if (stopFlag.load() && attempt.videoDone()) {
            auto now = std::chrono::steady_clock::now();
            if (!finishing) finishing = now;
            else if (now - *finishing > kFinishAfterStop) {
                killChildProcess(pid);
                killed = true;
                drained.endedAfterStop = true;
            }
        }
    }
    trimPartialCharacter(drained.text);
    return drained;
}

// The encoder ended well: the video takes its name, unless the user
// stopped or a frame could not be made, which leave only part of it.
void reportSuccess(EncoderAttempt& attempt) {
    attempt.waitVideoDone();
    if (stopFlag.load()) {
        attempt.video->discard();
        endGeneration(WM_ENCODE_STOPPED);
        return;
    }
    if (attempt.renderFailed.load()) {
        attempt.video->discard();
        refuseGeneration(kLowMemoryText);
        return;
    }
    int error = 0;
    if (attempt.video->keep(&error)) endGeneration(WM_ENCODE_DONE);
    else refuseGeneration(videoNotSavedText(attempt.video->path(), error));
}

// The FIFO way failed: once its video thread has ended, the whole video is
// made again through standard input, unless the user stopped.
void fallBackToStandardInput(EncoderAttempt& attempt) {
    attempt.encoderEnded = true;
    attempt.waitVideoDone();
    attempt.video->discard();
    if (stopFlag.load()) {
        endGeneration(WM_ENCODE_STOPPED);
        return;
    }
    useAnonymousPipe = 1;
    std::shared_ptr<const GenerationSettings> settings = attempt.settings;
    if (!startVideoThread([settings] { thread_make_video(settings); })) failThreadStart();
}

} // namespace

void thread_run_ffmpeg_by_named_pipe(std::shared_ptr<EncoderAttempt> attempt) {
    const char* where = "thread_run_ffmpeg_by_named_pipe";
    int errors[2];
    if (pipe2(errors, O_CLOEXEC) != 0) {
        int error = errno;
        attempt->encoderEnded = true;
        attempt->waitVideoDone();
        failGeneration(where, formatText("CreatePipe@3 failed with error %d", error));
        return;
    }
    ChildProcessSetup setup;
    setup.stderrFd = errors[1];
    setup.workingFolder = attempt->workingFolder();
    int error = 0;
    int pid = startChildProcess(attempt->argv, setup, &error);
    close(errors[1]);
    if (pid < 0) {
        close(errors[0]);
        sendErrorReport(where, formatText("CreateProcess() failed with error %d\r\nfolder: %s", error,
                                          programFolder.c_str())
                                   .c_str());
        fallBackToStandardInput(*attempt);
        return;
    }
    Drained drained = drainEncoderErrors(*attempt, pid, errors[0]);
    close(errors[0]);
    int exitCode = waitChildProcess(pid);
    attempt->encoderEnded = true;
    if (exitCode == 0) {
        reportSuccess(*attempt);
        return;
    }
    // An encoder that never opened the FIFO was reported by the video thread.
    if (!attempt->abandonEncoder.load())
        sendErrorReport(where, drained.text.empty() ? "未知错误" : drained.text.c_str());
    fallBackToStandardInput(*attempt);
}

void thread_run_ffmpeg_by_anonymous_pipe(std::shared_ptr<EncoderAttempt> attempt) {
    const char* where = "thread_run_ffmpeg_by_anonymous_pipe";
    Drained drained = drainEncoderErrors(*attempt, attempt->pid, attempt->errorFd);
    close(attempt->errorFd);
    attempt->errorFd = -1;
    int exitCode = waitChildProcess(attempt->pid);
    attempt->encoderEnded = true;
    if (exitCode == 0 || drained.endedAfterStop) {
        reportSuccess(*attempt);
        return;
    }
    if (!drained.text.empty()) {
        sendErrorReport(where, drained.text.c_str());
        showGenerationError(
            formatText("生成视频时发生错误：\n\n%s\n\n解决方案有：\n\n1. 点击【生成视频】按钮时，将视频保存到您有写入权限的文件夹。\n2. 确认保存视频的磁盘有足够的剩余空间。\n\n如果问题依然存在，请进入官网联系我们的客服。",
                       drained.text.c_str()),
            "错误");
    } else {
        sendErrorReport(where, "未知错误");
        showGenerationError(kLowMemoryText, "错误");
    }
    stopFlag = 1;
    attempt->waitVideoDone();
    attempt->video->discard();
    endGeneration(WM_ENCODE_FAILED);
}
