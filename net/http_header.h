// The fields of an HTTP reply head that the client acts on.
#pragma once

#include <string>

struct HttpHeader {
    int contentLength = -1;  // -1 when absent
    int isChunked = 0;       // 1 for "Transfer-Encoding: chunked"
    std::string location;    // absolute address of a Location field
    char connection[16] = "";
    char contentEncoding[32] = "";
    char contentType[128] = "";  // value up to the first ';'
    char charset[16] = "";       // value after "charset="
};

// Resets header, then reads the head's fields (names in any case, one
// blank after the colon). A relative Location is resolved against
// requestUrl. Values longer than their field are cut to fit.
void http_parse_header(const char* requestUrl, const char* head, HttpHeader* header);
