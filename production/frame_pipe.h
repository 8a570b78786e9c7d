// The write end of the frame pipe to the encoder, and the frame sink that
// writes into it.
#pragma once

#include <cstdint>

struct FramePipe {
    int fd = -1;  // non-blocking write end (FIFO or the encoder's standard input)
};

// frameSink for video generation: handle is a FramePipe. Writes the whole
// frame, waiting while the pipe is full; 0 when the encoder has gone (the
// write fails) or when Stop was pressed and the encoder has taken nothing
// for a while (an encoder that stopped reading must not hold the run).
int writeFramePipe(void* handle, const void* bytes, std::uint32_t length, std::uint32_t* written,
                   void* overlapped);
