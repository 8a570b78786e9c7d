// A process-wide store of cookies taken from Set-Cookie values, filed by
// domain, path and name, and the builder of the Cookie header text for an
// address. Nothing in the request path uses it on its own: callers pass
// what it builds to http_request.
#pragma once

#include <string>

struct HttpCookie {
    char value[4100];
    char domain[128];
    char path[256];
    int secure;  // 1: sent over https only
};

// Creates the jar (once; later calls do nothing).
void http_cookie_init();

// Stores one cookie from a Set-Cookie value received for url. A value of
// 1023 bytes or more, one with control characters, one without a name, a
// Domain attribute that does not cover url's host, or a Domain or Path too
// long for its field is not stored.
void http_cookie_set(const char* url, const char* setCookie);

// The header text "Cookie: a=1; b=2" for url (empty when there is nothing):
// the host's cookies of url's path and of "/", then those of the host's
// parent domain under "/"; extraCookies ("name=value; ...", may be null)
// override stored cookies of the same name.
void http_cookie_get(const char* url, const char* extraCookies, std::string& output);

// "." + url's host (lower case, with any port); a url without '/' leaves
// output unchanged.
void getDomain(const char* url, std::string& output);
// The directory of url's path ("/p" for ".../p/q.html", "/" for a path
// without a second '/'); a url without "//" leaves output unchanged.
void getPath(const char* url, std::string& output);
// "." + the host's last two labels ("." + the host when it has fewer); a
// url without "//" leaves output empty.
void getRootDomain(const char* url, std::string& output);
