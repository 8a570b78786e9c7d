// Shared set-up of the HTTP tests: pools started once, I/O time-outs of 5
// seconds (a reply that never comes fails sooner than the default, yet a
// loaded machine does not time out a good one), and reply builders.
#pragma once

#include "net/http_request.h"
#include "net/socket_connect.h"
#include "net/socket_pool.h"
#include "net/ssl_socket.h"

#include <gtest/gtest.h>

#include <string>

struct HttpFixture : ::testing::Test {
    int savedIo = socketIoTimeoutMs.load();
    static void SetUpTestSuite() {
        socket_pool_init();
        ssl_library_init();
        ssl_socket_pool_init();
    }
    void SetUp() override { socketIoTimeoutMs = 5000; }
    void TearDown() override { socketIoTimeoutMs = savedIo; }
};

// A whole reply with a Content-Length.
inline std::string reply(const std::string& status, const std::string& body, const std::string& fields = "") {
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" + fields + "\r\n" + body;
}

inline HttpResponsePtr get(const std::string& url, int keepAlive = 1, const char* cookie = nullptr,
                           const char* referer = nullptr) {
    return HttpResponsePtr(http_request(url.c_str(), cookie, referer, keepAlive, 0, nullptr));
}

inline std::string bodyOf(const HttpResponsePtr& r) {
    return r->body ? std::string(r->body, static_cast<size_t>(r->bodyLength)) : std::string();
}

inline std::string errorOf(const HttpResponsePtr& r) {
    return r->errorMessage ? r->errorMessage : "";
}
