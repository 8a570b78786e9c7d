#include "production/generation_settings.h"

#include "foundation/globals.h"
#include "platform/command_ids.h"
#include "platform/window_controls.h"
#include "production/download_folder.h"
#include "render/render_engine.h"

std::shared_ptr<const GenerationSettings> takeGenerationSettings() {
    auto settings = std::make_shared<GenerationSettings>();
    settings->render = takeRenderSettings();
    // The encoder reads its own pixel format, converted on the render workers.
    settings->render.framePixels = FramePixels::Yuv420p;
    settings->frameSink = frameSink;
    settings->renderWorkers = renderWorkerCount();
    settings->options.audio = audioInputArguments(comboGetCurSel(IDC_MUSIC));
    settings->options.bitrate = bitrateArguments(mp4VideoBitrate, serviceBitrateKbps);
    settings->options.output = outputVideoPath;
    if (isChecked(IDC_LOGO_CHECK)) settings->logoPath = getControlText(IDC_LOGO_PATH);
    settings->logoPosition = comboGetCurSel(IDC_LOGO_POSITION);
    settings->duration = durationText;
    // The logo's copy goes only where this process's own files are kept,
    // never into the work folder itself: that may have been removed and
    // made again by another user, who could then read or swap the copy.
    if (!settings->logoPath.empty()) settings->privateFolder = ensureDownloadFolder();
    settings->ffmpegPath = ffmpegPath;
    return settings;
}
