#include "production/encoder_pipeline.h"

#include <ctime>

#include "foundation/globals.h"
#include "foundation/linked_list.h"
#include "foundation/text.h"
#include "net/socket_connect.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/progress_window.h"
#include "production/encoder_command.h"
#include "production/frame_pipe.h"
#include "production/generate_checks.h"
#include "production/generation_settings.h"
#include "production/timing.h"
#include "production/video_thread.h"
#include "production/video_threads.h"
#include "render/picture_record.h"

#include <cstring>

std::string defaultVideoFileName() {
    if (mp4DefaultFileName == 1) {
        char stamp[18] = "";
        std::time_t now = std::time(nullptr);
        std::tm local{};
        if (localtime_r(&now, &local)) std::strftime(stamp, sizeof stamp, "%Y_%m_%d_%H%M%S", &local);
        return stamp;
    }
    if (mp4DefaultFileName == 2 && pictureList && linkedlist_size(pictureList) > 0) {
        auto* first = static_cast<const PictureRecord*>(linkedlist_get(pictureList, 0));
        std::string name = first->fileName;
        std::size_t dot = name.rfind('.');
        return dot == std::string::npos ? name : name.substr(0, dot);
    }
    return {};
}

void generateVideo() {
    if (!checkBeforeGenerate()) return;
    // The previous generation has reported its outcome; its threads are
    // ending or gone.
    waitForVideoThreads();
    ignoreBrokenPipeSignal();
    frameOutputMode = 1;
    frameSink = writeFramePipe;

    std::string file = defaultVideoFileName();
    std::string duration = formatDuration(framesToSeconds(getTotalFrames()));
    std::strncpy(durationText, duration.c_str(), sizeof durationText - 1);
    durationText[sizeof durationText - 1] = '\0';

    std::string folder = lastVideoFolder;
    if (!showSaveFileDialog(hwndMain, "视频保存到", {{"mp4视频 (*.mp4)", "*.mp4"}}, "mp4", folder,
                            file))
        return;
    lastVideoFolder = folder;
    if (!str_ends_with_nocase(file.c_str(), ".mp4")) file += ".mp4";
    outputVideoPath = file;

    // Cleared once per generation, so a Stop pressed while the FIFO way
    // falls back to standard input is never lost.
    stopFlag = 0;
    std::shared_ptr<const GenerationSettings> settings = takeGenerationSettings();
    if (!startVideoThread([settings] { thread_make_video(settings); })) {
        messageBox(hwndMain, "启动线程失败", "提示", MB_ICONERROR);
        return;
    }
    startProgressDialog(outputVideoPath, linkedlist_size(pictureList), &stopFlag);
}
