// The named pipe the encoder reads its frames from: a FIFO in a private
// folder under the temporary directory, written by the program.
#pragma once

#include <functional>
#include <string>

struct NamedPipe {
    std::string folder;  // private folder (mode 0700) holding the FIFO
    std::string path;    // the FIFO, given to the reader as its input file
};

// Creates a private folder and the FIFO name (mode 0600) in it. False with
// the error number in *error when either cannot be made (nothing is left
// behind then).
bool createNamedPipe(const std::string& name, NamedPipe* pipe, int* error);

// Opens the FIFO's write end as soon as a reader has opened the other end,
// checking every few milliseconds. Gives up when timeoutMs has passed
// (ETIMEDOUT) or giveUp() returns true (ECANCELED). Returns the
// descriptor, non-blocking and closed on exec, or -1 with *error set.
int connectNamedPipe(const NamedPipe& pipe, int timeoutMs, const std::function<bool()>& giveUp,
                     int* error);

// Removes the FIFO and its folder.
void removeNamedPipe(NamedPipe* pipe);
