// The encoder runner threads: each waits for one encoder run, keeps the
// first part of its error output, and turns its end into the generation's
// outcome (or, for the FIFO way, into a second attempt through standard
// input). Only a run that ended well and was not stopped gives the video
// its name; every other end removes what the encoder wrote.
#pragma once

#include <memory>

#include "production/encoder_attempt.h"

// Starts the encoder on the attempt's command line (its input is the FIFO
// the video thread is opening) and watches it. A failure to start it, or
// an exit code other than 0, is reported and leads to the standard-input
// way once the video thread has ended, unless Stop was pressed.
void thread_run_ffmpeg_by_named_pipe(std::shared_ptr<EncoderAttempt> attempt);

// Watches the encoder the video thread started on its standard input. An
// exit code other than 0 shows the encoder's error text and fails the
// generation.
void thread_run_ffmpeg_by_anonymous_pipe(std::shared_ptr<EncoderAttempt> attempt);

// The first bytes of the encoder's error output that are kept for the message.
constexpr std::size_t kEncoderErrorLimit = 4096;
