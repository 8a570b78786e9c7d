// TCP connections with a bounded connect time and bounded reads and writes.
#pragma once

#include <atomic>
#include <string>

// A connected TCP stream is a plain file descriptor; NO_SOCKET stands for
// "no connection" (0 is a valid descriptor here).
constexpr int NO_SOCKET = -1;

// Time allowed for the TCP handshake, and for each send and receive once
// connected. 10 seconds each; tests shorten them.
extern std::atomic<int> socketConnectTimeoutMs;
extern std::atomic<int> socketIoTimeoutMs;

// Connects to host:port (every address the name resolves to, in order,
// within one connect time-out; the name lookup within the thread's socket
// watch). Returns the connected socket, or NO_SOCKET with the reason in
// error.
int socket_connect(const char* host, int port, std::string& error);

// Whether the thread's latest socket_connect failed because the host name
// had no address: connecting again would look it up again, in vain.
bool socket_connect_lookup_failed();

// Closes a socket returned by socket_connect; NO_SOCKET is ignored.
void socket_close(int socket);

// Ignores SIGPIPE process-wide, so a peer that went away shows as a failed
// write instead of ending the process. Safe to call more than once.
void ignoreBrokenPipeSignal();
