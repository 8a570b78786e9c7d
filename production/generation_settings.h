// What one generation reads, taken once by the generate command on the
// user-interface thread: the render settings with every picture, the
// encoder's options (music, bitrate, output), the logo to lay over the
// video, and the folders and programs it runs. The video thread, the
// encoder runner and a second attempt through standard input all read this
// copy, never a control or a global the user can change meanwhile.
#pragma once

#include <memory>
#include <string>

#include "production/encoder_command.h"
#include "render/render_settings.h"

struct GenerationSettings {
    RenderSettings render;
    FrameSink frameSink = nullptr;   // writes a frame into the encoder's pipe
    int renderWorkers = 1;
    EncoderOptions options;          // audio, bitrate and output; the logo filter and the output's
                                     // temporary name are set per attempt
    std::string logoPath;            // empty: no logo
    int logoPosition = -1;           // the logo position combo's entry
    std::string duration;            // the encoder's "-t" value
    std::string privateFolder;       // with a logo: this process's private folder, where the
                                     // logo's copy is written and the encoder runs; empty when
                                     // none could be had
    std::string ffmpegPath;
};

// The settings as they stand (call on the user-interface thread, after
// outputVideoPath and durationText are set).
std::shared_ptr<const GenerationSettings> takeGenerationSettings();
