#include "net/reply_text.h"

#include "foundation/charset.h"
#include "foundation/text.h"
#include "net/http_header.h"
#include "net/http_request.h"

#include <cstdlib>

std::string http_reply_text(const HttpResponse* response) {
    if (!response || !response->ok || !response->body) return {};
    const std::string body = response->body;
    HttpHeader header;
    http_parse_header(nullptr, response->header, &header);
    if (str_equals_nocase(header.charset, "gbk") || str_equals_nocase(header.charset, "gb2312") ||
        str_equals_nocase(header.charset, "gb18030")) {
        if (char* converted = gbk_to_utf8(response->body, nullptr)) {
            std::string text = converted;
            std::free(converted);
            return text;
        }
        return body;
    }
    if (str_equals_nocase(header.charset, "utf-8")) return body;
    // Services that answer in GBK often say nothing about it.
    std::string text;
    return utf8_or_gbk_to_utf8(body, text) ? text : body;
}
