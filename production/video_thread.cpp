#include "production/video_thread.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

#include "foundation/globals.h"
#include "foundation/linked_list.h"
#include "foundation/text.h"
#include "net/error_report.h"
#include "net/format_text.h"
#include "platform/child_process.h"
#include "net/socket_connect.h"
#include "platform/message_box.h"
#include "platform/named_pipe.h"
#include "platform/progress_window.h"
#include "platform/ui_thread.h"
#include "production/encoder_runners.h"
#include "production/frame_pipe.h"
#include "production/logo_copy.h"
#include "production/pending_video.h"
#include "production/video_threads.h"
#include "render/render_engine.h"

namespace {

const char* const kWhere = "thread_make_video";
// An encoder opens its input within moments of starting; one that has not
// after this long never will.
std::atomic<int> connectTimeoutMs{20000};

constexpr char kNoPrivateFolderText[] =
    "无法创建图标文件的副本：找不到只属于您的临时文件夹。\n\n"
    "临时文件夹必须是您自己的文件夹（不能是链接或其他用户创建的文件夹），并且可以写入。"
    "请重新启动软件后再生成视频。";

// A frame is larger than a pipe's default 64 kB; a wider pipe lets the
// renderer run ahead while the encoder works (the system may refuse; the
// default then serves).
void widenPipe(int fd) { fcntl(fd, F_SETPIPE_SZ, 1 << 20); }

// Renders every picture, in list order, into the pipe; stops before the
// next picture after Stop, or at once when the encoder refuses a frame or a
// frame cannot be made.
RenderOutcome renderFrames(const GenerationSettings& settings, FramePipe* pipe) {
    RenderRunHooks hooks;
    hooks.stopBeforePicture = [] { return stopFlag.load() != 0; };
    hooks.pictureStarted = [](int n) { runOnUiThread([n] { updateProgress(n); }); };
    hooks.readFailed = [](const std::string& text) {
        messageBox(hwndMain, text, "错误", MB_ICONERROR);
    };
    return renderFrameStream(settings.render, {settings.frameSink, nullptr, pipe}, hooks,
                             settings.renderWorkers);
}

// The FIFO way. False when the FIFO cannot be made (the caller goes on
// with standard input); true when this attempt has run.
bool makeVideoByNamedPipe(const std::shared_ptr<const GenerationSettings>& settings,
                          const EncoderOptions& options, const std::shared_ptr<const LogoCopy>& logo,
                          const std::shared_ptr<PendingVideo>& video) {
    NamedPipe pipe;
    int error = 0;
    std::string name = "v";
    name += std::to_string(random_range(1, 1000));
    if (!createNamedPipe(name, &pipe, &error)) {
        sendErrorReport(kWhere, formatText("CreateNamedPipe failed with error %d", error).c_str());
        useAnonymousPipe = 1;
        return false;
    }
    auto attempt = std::make_shared<EncoderAttempt>();
    attempt->settings = settings;
    attempt->argv = namedPipeCommandLine(settings->ffmpegPath, pipe.path, settings->render.width,
                                         settings->render.height, settings->duration, options);
    attempt->logoCopy = logo;
    attempt->video = video;
    if (!startVideoThread([attempt] { thread_run_ffmpeg_by_named_pipe(attempt); })) {
        removeNamedPipe(&pipe);
        failThreadStart();
        return true;
    }
    int fd = connectNamedPipe(
        pipe, connectTimeoutMs.load(),
        [&attempt] { return attempt->encoderEnded.load() || stopFlag.load(); }, &error);
    // Both ends are open (or never will be): the name is no longer needed.
    removeNamedPipe(&pipe);
    if (fd < 0) {
        if (error != ECANCELED)
            sendErrorReport(kWhere, formatText("ConnectNamedPipe failed with error %d", error).c_str());
        // The runner ends the encoder and sees it fail.
        attempt->abandonEncoder = true;
        attempt->markVideoDone();
        return true;
    }
    widenPipe(fd);
    FramePipe frames{fd};
    attempt->renderFailed = renderFrames(*settings, &frames) == RenderOutcome::Failed;
    close(fd);
    attempt->markVideoDone();
    return true;
}

// The standard-input way: the encoder is started here, the runner watches it.
void makeVideoByStandardInput(const std::shared_ptr<const GenerationSettings>& settings,
                              const EncoderOptions& options, const std::shared_ptr<const LogoCopy>& logo,
                              const std::shared_ptr<PendingVideo>& video) {
    int input[2], errors[2];
    if (pipe2(input, O_CLOEXEC) != 0) {
        failGeneration(kWhere, formatText("CreatePipe@1 failed with error %d", errno));
        return;
    }
    if (pipe2(errors, O_CLOEXEC) != 0) {
        int error = errno;
        close(input[0]);
        close(input[1]);
        failGeneration(kWhere, formatText("CreatePipe@2 failed with error %d", error));
        return;
    }
    auto attempt = std::make_shared<EncoderAttempt>();
    attempt->settings = settings;
    attempt->argv = standardInputCommandLine(settings->ffmpegPath, settings->render.width,
                                             settings->render.height, settings->duration, options);
    attempt->logoCopy = logo;
    attempt->video = video;
    ChildProcessSetup setup;
    setup.stdinFd = input[0];
    setup.stderrFd = errors[1];
    setup.workingFolder = attempt->workingFolder();
    int error = 0;
    int pid = startChildProcess(attempt->argv, setup, &error);
    close(input[0]);
    close(errors[1]);
    if (pid < 0) {
        close(input[1]);
        close(errors[0]);
        failGeneration(kWhere, formatText("CreateProcess() failed with error %d\r\nfolder: %s", error,
                                          programFolder.c_str()));
        return;
    }
    attempt->pid = pid;
    attempt->errorFd = errors[0];
    if (!startVideoThread([attempt] { thread_run_ffmpeg_by_anonymous_pipe(attempt); })) {
        killChildProcess(pid);
        waitChildProcess(pid);
        close(input[1]);
        close(errors[0]);
        failThreadStart();
        return;
    }
    fcntl(input[1], F_SETFL, fcntl(input[1], F_GETFL) | O_NONBLOCK);
    widenPipe(input[1]);
    FramePipe frames{input[1]};
    attempt->renderFailed = renderFrames(*settings, &frames) == RenderOutcome::Failed;
    close(input[1]);
    attempt->markVideoDone();
}

} // namespace

void setNamedPipeConnectTimeout(int milliseconds) { connectTimeoutMs = milliseconds; }

void thread_make_video(std::shared_ptr<const GenerationSettings> settings) {
    ignoreBrokenPipeSignal();
    random_init();
    EncoderOptions options = settings->options;
    // The overlay filter names the logo's copy by its bare name, so the
    // encoder runs in the folder that holds it.
    std::shared_ptr<const LogoCopy> logo;
    if (!settings->logoPath.empty()) {
        // Without a private folder the copy would lie where another user
        // could read or swap it: nothing is written and nothing runs.
        if (settings->privateFolder.empty()) {
            refuseGeneration(kNoPrivateFolderText);
            return;
        }
        logo = LogoCopy::make(settings->logoPath, settings->privateFolder);
        if (!logo) {
            refuseGeneration("无法创建图标文件的副本");
            return;
        }
        options.logo = logoFilterArguments(logo->name(), settings->logoPosition, settings->render.width);
    }

    // Each attempt writes a temporary of its own beside the chosen path.
    int error = 0;
    std::shared_ptr<PendingVideo> video = PendingVideo::make(settings->options.output, &error);
    if (!video) {
        refuseGeneration(videoNotSavedText(settings->options.output, error));
        return;
    }
    options.output = video->temporaryPath();

    if (!useAnonymousPipe.load() && makeVideoByNamedPipe(settings, options, logo, video)) return;
    makeVideoByStandardInput(settings, options, logo, video);
}
