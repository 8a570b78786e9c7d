// Generation: the picture list becomes an MP4 file. The frames are
// rendered here and streamed as raw YUV 4:2:0 pixels at 25 per second into
// the encoder (ffmpegPath), which adds the music and the logo and writes the
// file. They go through a FIFO the encoder opens as its input file, or,
// once that way has failed, through the encoder's standard input.
//
// Threads: the user-interface thread (generateVideo, the progress window),
// the video thread (renders, writes the pipe) and one encoder runner
// (starts or watches the encoder and reports the outcome to the progress
// window: WM_ENCODE_DONE, WM_ENCODE_STOPPED or WM_ENCODE_FAILED).
#pragma once

#include <string>

// The generate command: the checks, the save dialog, then the video thread
// and the progress window.
void generateVideo();

// The save dialog's starting name, by mp4DefaultFileName: empty, the local
// time "%Y_%m_%d_%H%M%S", or the first picture's file name without its
// extension.
std::string defaultVideoFileName();

// Waits until every thread of the generations started so far has ended.
void waitForVideoThreads();
