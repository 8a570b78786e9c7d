#include "net/http_exchange.h"

#include "foundation/text.h"
#include "net/format_text.h"
#include "net/http_connection.h"
#include "net/http_header.h"
#include "net/http_request.h"
#include "net/socket_connect.h"
#include "net/socket_watch.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {

std::string composeHead(const HttpUrl& url, const char* cookie, const char* referer, bool keepAlive,
                        const char* postBody) {
    std::string head = postBody ? "POST " : "GET ";
    head += url.path;
    head += keepAlive ? " HTTP/1.1" : " HTTP/1.0";
    head += "\r\nAccept: */*";
    head += "\r\nAccept-Language: zh-cn";
    head += "\r\nUser-Agent: " + http_user_agent();
    if (url.port == 80 || url.port == 443) {
        head += formatText("\r\nHost: %s", url.host);
    } else {
        head += formatText("\r\nHost: %s:%d", url.host, url.port);
    }
    if (referer && *referer) head += std::string("\r\nReferer: ") + referer;
    if (postBody) {
        head += "\r\nContent-Type: application/x-www-form-urlencoded";
        head += formatText("\r\nContent-Length: %zu", std::strlen(postBody));
    }
    head += keepAlive ? "\r\nConnection: keep-alive" : "\r\nConnection: close";
    if (cookie && *cookie) head += std::string("\r\nCookie: ") + cookie;
    head += "\r\n\r\n";
    return head;
}

// The receive buffer: unread reply bytes lie in data[start, end).
struct Receiver {
    HttpConnection* connection;
    std::vector<char> data = std::vector<char>(HTTP_BUFFER_SIZE + 1);
    size_t start = 0;
    size_t end = 0;
    long lastResult = 0;
    int lastErrno = 0;

    size_t held() const { return end - start; }
    const char* unread() const { return data.data() + start; }

    long note(long n) {
        lastResult = n;
        lastErrno = n <= 0 ? errno : 0;
        return n;
    }
    // Moves the unread bytes to the front and reads once into the free
    // space behind them. Call only while the buffer is not full.
    long fill() {
        if (start > 0) {
            std::memmove(data.data(), data.data() + start, held());
            end -= start;
            start = 0;
        }
        long n = note(http_connection_recv(connection, data.data() + end, HTTP_BUFFER_SIZE - end));
        if (n > 0) end += static_cast<size_t>(n);
        return n;
    }
    long readInto(char* target, size_t want) { return note(http_connection_recv(connection, target, want)); }
    const char* find(const char* pattern) const {
        return static_cast<const char*>(memmem(unread(), held(), pattern, std::strlen(pattern)));
    }
};

// Hands n body bytes to the sink through its room.
bool deliver(BodySink& sink, const char* bytes, size_t n) {
    while (n > 0) {
        size_t got = 0;
        char* room = sink.room(n, &got);
        if (!room) return false;
        size_t part = got < n ? got : n;
        std::memcpy(room, bytes, part);
        if (!sink.commit(part)) return false;
        bytes += part;
        n -= part;
    }
    return true;
}

// Reads at most want bytes from the connection straight into the sink:
// the read's result, or -2 when the sink refused.
long readToSink(Receiver& in, BodySink& sink, size_t want) {
    size_t got = 0;
    char* room = sink.room(want, &got);
    if (!room) return -2;
    long n = in.readInto(room, got < want ? got : want);
    if (n > 0 && !sink.commit(static_cast<size_t>(n))) return -2;
    return n;
}

// A chunk-size line: hexadecimal digits after optional blanks, then
// nothing or blanks and/or a ';' extension. Anything else is malformed.
bool parseChunkSize(const char* line, size_t length, long long* size) {
    size_t i = 0;
    while (i < length && (line[i] == ' ' || line[i] == '\t')) ++i;
    size_t digits = 0;
    long long value = 0;
    for (; i < length; ++i, ++digits) {
        char c = line[i];
        int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (d < 0) break;
        value = value * 16 + d;
        if (value > HTTP_BODY_LIMIT) value = HTTP_BODY_LIMIT + 1;  // stays above the limit, never overflows
    }
    if (digits == 0) return false;
    while (i < length && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i < length && line[i] != ';') return false;
    *size = value;
    return true;
}

struct BodyState {
    long long total = 0;         // body bytes received
    long long declared = 0;      // sum of the chunk sizes read
    bool chunkCompleted = false; // the last chunk and its trailer were read
};

enum class Step { Complete, Failed };

Step fail(Exchange& x, int kind, std::string message) {
    x.errorKind = kind;
    x.message = std::move(message);
    return Step::Failed;
}

Step sinkFailure(Exchange& x, BodySink& sink) {
    return fail(x, sink.failureKind ? sink.failureKind : 2, sink.failure.empty() ? "内存不足" : sink.failure);
}

Step readChunked(Receiver& in, BodySink& sink, const HttpHeader& header, BodyState& body, Exchange& x) {
    for (;;) {
        const char* lineEnd;
        while (!(lineEnd = in.find("\r\n"))) {
            if (in.held() >= HTTP_BUFFER_SIZE) return fail(x, 2, "chunk 大小行过长");
            if (in.fill() <= 0) {
                return fail(x, 2, formatText("读取失败3: body大小:%u, 实际接收到的body大小:%d, ret:%d, errno:%d",
                                             static_cast<unsigned>(header.contentLength), static_cast<int>(in.held()),
                                             static_cast<int>(in.lastResult), in.lastErrno));
            }
        }
        long long size = 0;
        size_t lineLength = static_cast<size_t>(lineEnd - in.unread());
        if (!parseChunkSize(in.unread(), lineLength, &size)) {
            return fail(x, 2, formatText("chunk 大小行不正确: %.*s", static_cast<int>(lineLength < 32 ? lineLength : 32),
                                         in.unread()));
        }
        in.start += lineLength + 2;

        if (size == 0) break;
        if (body.declared + size > HTTP_BODY_LIMIT) {
            return fail(x, 2, formatText("chunk 数据总大小:%lld, 大于10M", body.declared + size));
        }
        body.declared += size;
        long long remaining = size;
        size_t have = in.held() < static_cast<size_t>(remaining) ? in.held() : static_cast<size_t>(remaining);
        if (!deliver(sink, in.unread(), have)) return sinkFailure(x, sink);
        in.start += have;
        body.total += static_cast<long long>(have);
        remaining -= static_cast<long long>(have);
        while (remaining > 0) {
            size_t want = remaining < HTTP_BUFFER_SIZE ? static_cast<size_t>(remaining) : HTTP_BUFFER_SIZE;
            long n = readToSink(in, sink, want);
            if (n == -2) return sinkFailure(x, sink);
            if (n <= 0) return Step::Complete;  // the completion rule judges the short body
            body.total += n;
            remaining -= n;
        }
        while (in.held() < 2) {
            if (in.fill() <= 0) {
                return fail(x, 2, formatText("读取失败3: body大小:%u, 实际接收到的body大小:%d, ret:%d, errno:%d",
                                             static_cast<unsigned>(header.contentLength), static_cast<int>(in.held()),
                                             static_cast<int>(in.lastResult), in.lastErrno));
            }
        }
        if (std::memcmp(in.unread(), "\r\n", 2) != 0) return fail(x, 2, "chunk 数据后缺少换行符");
        in.start += 2;
    }

    // The last chunk: its trailer ends with an empty line.
    for (;;) {
        if (in.held() >= 2 && std::memcmp(in.unread(), "\r\n", 2) == 0) {
            in.start += 2;
            break;
        }
        if (const char* blank = in.find("\r\n\r\n")) {
            in.start = static_cast<size_t>(blank - in.data.data()) + 4;
            break;
        }
        if (in.held() >= HTTP_BUFFER_SIZE) return fail(x, 2, "读取完 HTTP_BUFFER_SIZE 长度, 也没有找到 chunk 最后一个结束符");
        if (in.fill() <= 0) {
            return fail(x, 2, formatText("读取chunk最后的结束符时出错: syCount:%d, bufferSize:%d, ret:%d, errno:%d",
                                         static_cast<int>(in.held()), static_cast<int>(HTTP_BUFFER_SIZE - in.held()),
                                         static_cast<int>(in.lastResult), in.lastErrno));
        }
    }
    body.chunkCompleted = true;
    return Step::Complete;
}

Step readWithLength(Receiver& in, BodySink& sink, long long length, BodyState& body, Exchange& x) {
    if (static_cast<long long>(in.held()) > length) {
        return fail(x, 2, formatText("读取的数据大小:%d, http header 返回的 Content-Length:%d", static_cast<int>(in.held()),
                                     static_cast<int>(length)));
    }
    sink.expect(static_cast<size_t>(length));
    if (!deliver(sink, in.unread(), in.held())) return sinkFailure(x, sink);
    body.total = static_cast<long long>(in.held());
    in.start = in.end;
    while (body.total < length) {
        long n = readToSink(in, sink, static_cast<size_t>(length - body.total));
        if (n == -2) return sinkFailure(x, sink);
        if (n <= 0) break;
        body.total += n;
    }
    return Step::Complete;
}

Step readToClose(Receiver& in, BodySink& sink, BodyState& body, Exchange& x) {
    if (!deliver(sink, in.unread(), in.held())) return sinkFailure(x, sink);
    body.total = static_cast<long long>(in.held());
    in.start = in.end;
    for (;;) {
        long n = readToSink(in, sink, HTTP_BUFFER_SIZE);
        if (n == -2) return sinkFailure(x, sink);
        if (n <= 0) return Step::Complete;
        body.total += n;
        if (body.total > HTTP_BODY_LIMIT) {
            return fail(x, 2, formatText("header.contentLength: %d, readTotal:%d > 10M", -1, static_cast<int>(body.total)));
        }
    }
}

bool statusIs(const std::string& head, const char* code) {
    return str_starts_with_nocase(head.c_str(), (std::string("HTTP/1.1 ") + code).c_str()) ||
           str_starts_with_nocase(head.c_str(), (std::string("HTTP/1.0 ") + code).c_str());
}

// Judges a finished or ended body by the rules of keep-alive and
// non-keep-alive exchanges. With chunks only the last chunk says the body
// is whole: a Content-Length beside them is ignored, as HTTP/1.1 says.
Step judgeCompletion(const HttpHeader& header, const BodyState& body, bool keepAlive, bool headComplete,
                     const Receiver& in, Exchange& x) {
    int length = header.isChunked ? -1 : header.contentLength;
    if (keepAlive) {
        if ((length != -1 && body.total == length) || (header.isChunked && body.chunkCompleted)) return Step::Complete;
        if (length != -1) {
            return fail(x, 2, formatText("(fileSize:%u, readTotal:%d), (header.isChunked:%d, isChunkReceiveCompleted:%d)",
                                         static_cast<unsigned>(length), static_cast<int>(body.total), header.isChunked,
                                         body.chunkCompleted ? 1 : 0));
        }
        return fail(x, 2, formatText("(fileSize:未定义, readTotal:%d), (header.isChunked:%d, isChunkReceiveCompleted:%d)",
                                     static_cast<int>(body.total), header.isChunked, body.chunkCompleted ? 1 : 0));
    }
    bool chunksArrived = !header.isChunked || body.chunkCompleted;
    // A body that lasts until the close is whole only when the connection
    // was closed, not when a read failed or timed out.
    bool closedCleanly = header.isChunked || in.lastResult == 0;
    if ((length != -1 && body.total == length) ||
        (length == -1 && headComplete && chunksArrived && closedCleanly && body.total >= 1)) {
        return Step::Complete;
    }
    return fail(x, 2, formatText("文件大小:%ld, 实际接收到的文件大小:%d, ret:%d, errno:%d", static_cast<long>(length),
                                 static_cast<int>(body.total), static_cast<int>(in.lastResult), in.lastErrno));
}

} // namespace

RedirectPlan http_plan_redirect(const HttpUrl& from, const std::string& location, const char* cookie, int depth) {
    RedirectPlan plan;
    if (depth >= 8) {
        plan.refusal = "HTTP连继跳转已超过允许的次数。";
        return plan;
    }
    HttpUrl next{};
    if (http_parse_url(location.c_str(), &next)) {
        bool downgrade = from.secure && !next.secure;
        bool sameHost = str_equals_nocase(from.host, next.host) != 0;
        http_url_free(&next);
        if (downgrade) {
            plan.refusal = "不允许从 https 跳转到 http: " + location;
            return plan;
        }
        if (sameHost) plan.cookie = cookie;
    }
    plan.follow = true;
    return plan;
}

RequestDeadline::RequestDeadline() {
    if (!socket_watch_active()) watch.emplace(std::chrono::milliseconds(requestDeadlineMs.load()), nullptr);
}

bool http_has_unsafe_fields(const char* cookie, const char* referer) {
    return http_has_control_chars(cookie) || http_has_control_chars(referer);
}

namespace {

Exchange exchangeOnce(const char* urlText, const HttpUrl& url, const char* cookie, const char* referer,
                      bool keepAlive, const char* postBody, const ExchangeSettings& settings, BodySink& sink) {
    Exchange x;
    std::string head = composeHead(url, cookie, referer, keepAlive, postBody);
    if (head.size() > settings.headLimit) {
        fail(x, 1, formatText("HTTP 请求头长度:%zu, 超过了允许的最大值: %zu", head.size(), settings.headLimit));
        x.repeatable = false;
        return x;
    }

    HttpConnection connection;
    std::string connectError;
    if (!http_connection_open(&connection, url, keepAlive, connectError)) {
        fail(x, 1, connectError);
        // The repeat would look the name up again, and wait as long again.
        x.repeatable = !socket_connect_lookup_failed();
        return x;
    }
    long sent = http_connection_send(&connection, head.data(), head.size());
    if (sent != -1 && postBody && *postBody) sent = http_connection_send(&connection, postBody, std::strlen(postBody));
    if (sent == -1) {
        http_connection_close(&connection);
        fail(x, 1, "socket send() failed");
        return x;
    }

    Receiver in{&connection};
    HttpHeader header;
    BodyState body;
    bool headComplete = false;
    Step step = Step::Complete;
    for (;;) {
        if (const char* blank = in.find("\r\n\r\n")) {
            x.header.assign(in.unread(), static_cast<size_t>(blank - in.unread()));
            x.headRead = true;
            http_parse_header(urlText, x.header.c_str(), &header);
            size_t next = static_cast<size_t>(blank - in.data.data()) + 4;
            if (settings.skipContinue && str_starts_with_nocase(x.header.c_str(), "HTTP/1.1 100 Continue")) {
                // Only the interim head goes; the final one may have come with it.
                in.start = next;
                x.header.clear();
                x.headRead = false;
                header = HttpHeader{};
                continue;
            }
            in.start = next;
            headComplete = true;
            break;
        }
        if (in.held() >= HTTP_BUFFER_SIZE) {
            step = fail(x, 2, "读取 HTTP_BUFFER_SIZE 字节, 还没有读取完整个 HTTP Head.");
            break;
        }
        if (in.fill() <= 0) break;  // the completion rule judges a reply that ended early
    }

    if (step == Step::Complete && headComplete) {
        if (statusIs(x.header, "200")) {
            if (header.contentEncoding[0]) {
                step = fail(x, 2, formatText("暂不支持处理 header.contentEncoding:%s", header.contentEncoding));
            } else if (header.contentLength != -1 && static_cast<unsigned>(header.contentLength) > HTTP_BODY_LIMIT) {
                step = settings.download
                           ? fail(x, 2, formatText("header.contentLength: %u, >允许的最大值: %d",
                                                   static_cast<unsigned>(header.contentLength), int(HTTP_BODY_LIMIT)))
                           : fail(x, 2, formatText("header.contentLength: %u, 大于10M",
                                                   static_cast<unsigned>(header.contentLength)));
            } else if (!sink.open()) {
                step = sinkFailure(x, sink);
            } else if (header.isChunked) {
                step = readChunked(in, sink, header, body, x);
            } else if (header.contentLength != -1) {
                step = readWithLength(in, sink, header.contentLength, body, x);
            } else {
                step = readToClose(in, sink, body, x);
            }
        } else if ((statusIs(x.header, "301") || statusIs(x.header, "302")) && !header.location.empty()) {
            // The redirect's own body is dropped; its connection is reusable
            // only when that body came whole with the head.
            bool reusable = keepAlive && !str_equals_nocase(header.connection, "close") && !header.isChunked &&
                            header.contentLength != -1 && in.held() == static_cast<size_t>(header.contentLength);
            if (reusable) {
                http_connection_release(&connection, url);
            } else {
                http_connection_close(&connection);
            }
            x.result = ExchangeResult::Redirect;
            x.location = header.location;
            return x;
        } else if (statusIs(x.header, "404")) {
            step = fail(x, 2, "404 Not Found - 文件不存在");
        } else {
            std::string received = x.header + "\r\n\r\n" + std::string(in.unread(), in.held());
            received.resize(std::min<size_t>(std::strlen(received.c_str()), 512));
            step = fail(x, 2, "返回错误的http状态码:\n" + received);
        }
    }
    if (step == Step::Complete) step = judgeCompletion(header, body, keepAlive, headComplete, in, x);

    if (step == Step::Failed) {
        http_connection_close(&connection);
        return x;
    }
    // Bytes after the body would be read as the next reply: such a
    // connection is not kept.
    if (keepAlive && !str_equals_nocase(header.connection, "close") && in.held() == 0) {
        http_connection_release(&connection, url);
    } else {
        http_connection_close(&connection);
    }
    x.result = ExchangeResult::Done;
    x.errorKind = 0;
    x.bodyLength = static_cast<size_t>(body.total);
    return x;
}

} // namespace

Exchange http_exchange(const char* urlText, const HttpUrl& url, const char* cookie, const char* referer,
                       bool keepAlive, const char* postBody, const ExchangeSettings& settings, BodySink& sink) {
    Exchange x = exchangeOnce(urlText, url, cookie, referer, keepAlive, postBody, settings, sink);
    // An exchange the thread's socket watch ended says so, and is not tried
    // again: the watch would end the next one at once.
    std::string ended = socket_watch_failure();
    if (x.result == ExchangeResult::Failed && !ended.empty()) {
        x.message = ended;
        x.repeatable = false;
    }
    return x;
}
