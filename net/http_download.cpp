#include "net/http_download.h"

#include "foundation/heap_alloc.h"
#include "foundation/text.h"
#include "net/format_text.h"
#include "net/http_exchange.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

// Writes the body into a file it creates itself (never over an existing
// one), so removing it after a failure can only remove what it wrote. A
// body longer than maxBytes (when not negative) is refused as soon as it
// passes it; reads are sized so that no more than one byte past it is read.
struct FileSink : BodySink {
    const char* path;
    long long maxBytes;
    FILE* file = nullptr;
    std::vector<char> staging = std::vector<char>(HTTP_BUFFER_SIZE);
    size_t written = 0;
    bool tooLong = false;  // the body passed maxBytes

    FileSink(const char* p, long long limit) : path(p), maxBytes(limit) {}
    ~FileSink() override { discard(); }

    bool open() override {
        errno = EINVAL;  // no path
        int fd = path ? ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644) : -1;
        file = fd >= 0 ? fdopen(fd, "wb") : nullptr;
        if (!file) {
            int reason = errno;
            if (fd >= 0) {
                ::close(fd);
                unlink(path);
            }
            failureKind = 3;
            failure = formatText("fopen() failed: %s", std::strerror(reason));
            return false;
        }
        return true;
    }
    char* room(size_t, size_t* got) override {
        *got = staging.size();
        if (maxBytes >= 0) *got = std::min<size_t>(*got, static_cast<size_t>(maxBytes) - written + 1);
        return staging.data();
    }
    bool commit(size_t n) override {
        if (maxBytes >= 0 && static_cast<long long>(written + n) > maxBytes) {
            tooLong = true;
            failureKind = 2;
            failure = formatText("实际接收到的文件大小:%lld, >允许的最大值: %lld",
                                 static_cast<long long>(written + n), maxBytes);
            return false;
        }
        if (std::fwrite(staging.data(), 1, n, file) != n) {
            failureKind = 4;
            failure = "fwrite() fail";
            return false;
        }
        written += n;
        return true;
    }
    // Closes the file; false when its last bytes could not be written.
    bool finish() {
        if (!file) return true;
        bool ok = std::fclose(file) == 0;
        file = nullptr;
        if (!ok) {
            unlink(path);
            failureKind = 4;
            failure = "fwrite() fail";
        }
        return ok;
    }
    void discard() {
        if (!file) return;
        std::fclose(file);
        file = nullptr;
        unlink(path);
    }
};

} // namespace

HttpDownloadResult* http_download_file(const char* url, const char* cookie, const char* referer, int keepAlive,
                                       int depth, const char* filePath, long long maxBytes) {
    RequestDeadline deadline;
    HttpUrl parsed{};
    if (!http_parse_url(url, &parsed)) return http_failed_result<HttpDownloadResult>(1, "网址不符合规范");
    if (http_has_unsafe_fields(cookie, referer)) {
        http_url_free(&parsed);
        return http_failed_result<HttpDownloadResult>(1, "Cookie 或 Referer 含有控制字符");
    }

    Exchange x;
    size_t written = 0;
    {
        FileSink sink(filePath, maxBytes);
        ExchangeSettings settings{4096, false, true};
        x = http_exchange(url, parsed, cookie, referer, keepAlive != 0, nullptr, settings, sink);
        if (x.result == ExchangeResult::Done && !sink.finish()) {
            x.result = ExchangeResult::Failed;
            x.errorKind = sink.failureKind;
            x.message = sink.failure;
        }
        written = sink.written;
        if (sink.tooLong) x.repeatable = false;  // the repeat would bring the same body
    }

    if (x.result == ExchangeResult::Done) {
        http_url_free(&parsed);
        HttpDownloadResult* result = heapCalloc<HttpDownloadResult>();
        result->ok = 1;
        result->header = heapCopyBytes(x.header.data(), x.header.size());
        result->size = static_cast<unsigned>(written);
        return result;
    }

    if (x.result == ExchangeResult::Redirect) {
        std::string location = x.location;
        if (str_ends_with_nocase(location.c_str(), "_.webp")) location.resize(location.size() - 6);
        RedirectPlan plan = http_plan_redirect(parsed, location, cookie, depth);
        http_url_free(&parsed);
        if (!plan.follow) return http_failed_result<HttpDownloadResult>(2, plan.refusal, &x.header);
        return http_download_file(location.c_str(), plan.cookie, referer, 1, depth + 1, filePath, maxBytes);
    }

    http_url_free(&parsed);
    if (x.repeatable && keepAlive && depth <= 7)
        return http_download_file(url, cookie, referer, 0, depth, filePath, maxBytes);
    return http_failed_result<HttpDownloadResult>(x.errorKind, x.message, x.headRead ? &x.header : nullptr);
}

void http_download_result_free(HttpDownloadResult* result) {
    if (!result) return;
    std::free(result->header);
    std::free(result->errorMessage);
    std::free(result);
}
