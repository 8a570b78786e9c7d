// The HTTP/1.0 and HTTP/1.1 client: one call makes one GET (or a POST of a
// form), follows 301 and 302 redirects, reads bodies given by length, by
// chunks or by the end of the connection (at most 10485760 bytes), gives
// keep-alive connections back to their pool, and repeats a failed
// keep-alive request once on a fresh connection.
#pragma once

#include <atomic>
#include <memory>
#include <string>

// The time a whole request may take (lookup, connects, redirects and the
// repeat) on a thread whose socket watch (net/socket_watch.h) does not
// bound it already: 30 seconds. The service-host calls and the error
// reports run under it; downloads set their own. Tests shorten it.
extern std::atomic<int> requestDeadlineMs;

struct HttpResponse {
    int ok;              // 1 on success
    char* header;        // the reply head without the blank line, null when none was read
    char* body;          // on success: bodyLength bytes and a NUL after them
    int bodyLength;
    int errorKind;       // 0 success; 1 address unusable, no connection or sending failed;
                         // 2 the answer was refused (status, size, encoding, transfer, redirects)
    char* errorMessage;  // on failure
};

// url: "http://", "https://" or "//" address (the scheme decides TLS).
// cookie, referer: texts or null (empty counts as absent). keepAlive:
// nonzero to use the pools and HTTP/1.1. depth: 0 for a caller (redirect
// depth). postBody: null for GET, else the form text sent with POST.
// Never null; the caller frees it with http_response_free.
HttpResponse* http_request(const char* url, const char* cookie, const char* referer, int keepAlive, int depth,
                           const char* postBody);
void http_response_free(HttpResponse* response);

struct HttpResponseFree {
    void operator()(HttpResponse* response) const { http_response_free(response); }
};
using HttpResponsePtr = std::unique_ptr<HttpResponse, HttpResponseFree>;

// Replaces the User-Agent of every later request (at most 255 bytes, cut on
// a character boundary); a text with control characters is ignored.
void http_set_user_agent(const char* text);
std::string http_user_agent();
