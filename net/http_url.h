// Addresses for the HTTP client: parsing into host, path and port, and the
// extension of an address's last path segment.
#pragma once

struct HttpUrl {
    char* host;  // heap text
    char* path;  // heap text beginning with '/': path, query and fragment
    int port;
    int secure;  // 1 for an "https:" address (any case): TLS
};

// 1 when url is an "http://", "https://" or "//" address (scheme in any
// case) with a host, a port from 1 to 65535 and no control characters;
// the texts are then freed with http_url_free. 0 leaves url untouched.
int http_parse_url(const char* url, HttpUrl* parsed);
void http_url_free(HttpUrl* parsed);

// Copies the extension of the address's last path segment (before any
// query or fragment), at most maximum bytes; buffer holds maximum + 1.
// No '/' or no '.' gives an empty text.
void http_url_get_ext(const char* url, char* buffer, int maximum);

// 1 when text holds a control character (CR, LF, TAB, DEL...), which
// must never reach a request head.
int http_has_control_chars(const char* text);
