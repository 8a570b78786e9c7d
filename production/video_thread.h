// The video thread: builds the encoder's command line, opens the frame
// pipe (the FIFO way until it has failed once, then standard input), starts
// the encoder runner and renders every picture into the pipe.
#pragma once

void thread_make_video();

// How long the video thread waits for the encoder to open the FIFO before
// it gives the encoder up (default 20 s); tests shorten it.
void setNamedPipeConnectTimeout(int milliseconds);
