#include "net/http_request.h"

#include "foundation/heap_alloc.h"
#include "net/http_exchange.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>

std::atomic<int> requestDeadlineMs{30000};

namespace {

std::mutex userAgentLock;
std::string userAgent =
    "Mozilla/5.0 (Windows NT 6.1) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/91.0.4472.77 Safari/537.36";

// The body in one heap block that grows as it arrives (exactly sized when
// the reply states its length), with room for the closing NUL.
struct MemorySink : BodySink {
    char* data = nullptr;
    size_t size = 0;
    size_t capacity = 0;

    ~MemorySink() override { std::free(data); }

    bool reserve(size_t wanted) {
        if (wanted <= capacity) return true;
        char* grown = static_cast<char*>(std::realloc(data, wanted + 1));
        if (!grown) {
            failure = "内存不足";
            return false;
        }
        data = grown;
        capacity = wanted;
        return true;
    }
    void expect(size_t total) override { reserve(total); }
    char* room(size_t want, size_t* got) override {
        if (capacity - size < want && !reserve(std::max(size + want, capacity * 2))) return nullptr;
        *got = capacity - size;
        return data + size;
    }
    bool commit(size_t n) override {
        size += n;
        return true;
    }
    // The body, terminated; the sink lets go of it.
    char* release() {
        char* body = data ? data : heapCalloc<char>(1);
        body[size] = '\0';
        data = nullptr;
        return body;
    }
};

} // namespace

void http_set_user_agent(const char* text) {
    if (!text) return;
    for (const char* p = text; *p; ++p) {
        if (static_cast<unsigned char>(*p) < 0x20 || *p == 0x7F) return;
    }
    // The longest whole-character prefix of at most 255 bytes.
    size_t length = std::strlen(text);
    if (length > 255) {
        length = 255;
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
    }
    std::lock_guard<std::mutex> lock(userAgentLock);
    userAgent.assign(text, length);
}

std::string http_user_agent() {
    std::lock_guard<std::mutex> lock(userAgentLock);
    return userAgent;
}

HttpResponse* http_request(const char* url, const char* cookie, const char* referer, int keepAlive, int depth,
                           const char* postBody) {
    RequestDeadline deadline;
    HttpUrl parsed{};
    if (!http_parse_url(url, &parsed)) return http_failed_result<HttpResponse>(1, "网址不符合规范");
    if (http_has_unsafe_fields(cookie, referer)) {
        http_url_free(&parsed);
        return http_failed_result<HttpResponse>(1, "Cookie 或 Referer 含有控制字符");
    }

    MemorySink sink;
    ExchangeSettings settings{HTTP_BUFFER_SIZE, true, false};
    Exchange x = http_exchange(url, parsed, cookie, referer, keepAlive != 0, postBody, settings, sink);

    if (x.result == ExchangeResult::Done) {
        http_url_free(&parsed);
        HttpResponse* response = heapCalloc<HttpResponse>();
        response->ok = 1;
        response->header = heapCopyBytes(x.header.data(), x.header.size());
        response->bodyLength = static_cast<int>(sink.size);
        response->body = sink.release();
        return response;
    }

    if (x.result == ExchangeResult::Redirect) {
        RedirectPlan plan = http_plan_redirect(parsed, x.location, cookie, depth);
        http_url_free(&parsed);
        if (!plan.follow) return http_failed_result<HttpResponse>(2, plan.refusal, &x.header);
        return http_request(x.location.c_str(), plan.cookie, referer, 1, depth + 1, nullptr);
    }

    http_url_free(&parsed);
    // A form may already have been acted on: it is never sent twice.
    if (x.repeatable && keepAlive && depth <= 7 && !postBody) {
        return http_request(url, cookie, referer, 0, depth, postBody);
    }
    return http_failed_result<HttpResponse>(x.errorKind, x.message, x.headRead ? &x.header : nullptr);
}

void http_response_free(HttpResponse* response) {
    if (!response) return;
    std::free(response->header);
    std::free(response->body);
    std::free(response->errorMessage);
    std::free(response);
}
