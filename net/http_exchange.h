// One HTTP exchange (send the request, read and judge the reply) shared by
// http_request and its file twin; redirects and the repeat without
// keep-alive are the callers' part.
#pragma once

#include "foundation/heap_alloc.h"
#include "net/http_url.h"
#include "net/socket_watch.h"

#include <cstddef>
#include <optional>
#include <string>

constexpr int HTTP_BUFFER_SIZE = 8192;
constexpr long long HTTP_BODY_LIMIT = 10485760;

// Where the body goes as it arrives.
struct BodySink {
    virtual ~BodySink() = default;
    // Called when a 200 reply's body is about to be read.
    virtual bool open() { return true; }
    // The body's whole length, when the reply states it.
    virtual void expect(size_t) {}
    // Writable room for up to want bytes (got set to what is offered, at
    // least 1), or null when none can be had.
    virtual char* room(size_t want, size_t* got) = 0;
    // The first n bytes of the room hold body bytes now.
    virtual bool commit(size_t n) = 0;
    // Set when open, room or commit failed.
    int failureKind = 0;
    std::string failure;
};

struct ExchangeSettings {
    size_t headLimit;   // the longest request head that may be sent
    bool skipContinue;  // skip an "HTTP/1.1 100 Continue" head
    bool download;      // the file twin's wording of the size limit
};

enum class ExchangeResult { Done, Failed, Redirect };

struct Exchange {
    ExchangeResult result = ExchangeResult::Failed;
    int errorKind = 0;
    std::string message;
    bool repeatable = true;  // false when a repeat would fail the same way
    bool headRead = false;
    std::string header;      // the reply head, without the blank line
    std::string location;    // the redirect's absolute address
    size_t bodyLength = 0;
};

// Bounds a whole request, redirects and repeat included: while it lives, a
// thread without a socket watch has one of requestDeadlineMs. A watch the
// thread has already (a download's) is left to bound the request.
class RequestDeadline {
public:
    RequestDeadline();

private:
    std::optional<SocketWatch> watch;
};

Exchange http_exchange(const char* urlText, const HttpUrl& url, const char* cookie, const char* referer,
                       bool keepAlive, const char* postBody, const ExchangeSettings& settings, BodySink& sink);

// Whether a redirect from the address "from" (requested at depth) to
// location may be followed, and the cookie it may carry: a cookie belongs
// to its host, and a TLS address never leads to a plain one.
struct RedirectPlan {
    bool follow = false;
    std::string refusal;             // why not, when follow is false
    const char* cookie = nullptr;
};
RedirectPlan http_plan_redirect(const HttpUrl& from, const std::string& location, const char* cookie, int depth);

// A failed HttpResponse or HttpDownloadResult (heap, zeroed but for the
// failure and the reply head when one was read).
template <class Result>
Result* http_failed_result(int kind, const std::string& message, const std::string* header = nullptr) {
    Result* result = heapCalloc<Result>();
    result->errorKind = kind;
    result->errorMessage = heapCopyBytes(message.data(), message.size());
    if (header) result->header = heapCopyBytes(header->data(), header->size());
    return result;
}

// 1 when cookie or referer hold a control character (header injection).
bool http_has_unsafe_fields(const char* cookie, const char* referer);
