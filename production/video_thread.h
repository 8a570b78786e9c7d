// The video thread: makes the video's temporary beside the chosen path
// (production/pending_video.h), builds the encoder's command line, opens the
// frame pipe (the FIFO way until it has failed once, then standard input),
// starts the encoder runner and renders every picture into the pipe.
#pragma once

#include <memory>

#include "production/generation_settings.h"

// One attempt at the video from the generation's settings; a failed FIFO
// attempt starts another through standard input with the same settings.
void thread_make_video(std::shared_ptr<const GenerationSettings> settings);

// How long the video thread waits for the encoder to open the FIFO before
// it gives the encoder up (default 20 s); tests shorten it.
void setNamedPipeConnectTimeout(int milliseconds);
