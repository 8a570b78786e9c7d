#include "net/cookie_jar.h"

#include "foundation/hash_map.h"
#include "foundation/heap_alloc.h"
#include "foundation/text.h"
#include "net/http_url.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

std::mutex cookieJarLock;
HashMap* domainMap = nullptr;  // domain -> path map -> name map -> HttpCookie

HashMap* newTextMap() {
    return hashmap_new_default(hash_string, equals_string);
}

// The map under key in parent, made on first use.
HashMap* childMap(HashMap* parent, const std::string& key) {
    auto* child = static_cast<HashMap*>(hashmap_get(parent, key.c_str()));
    if (!child) hashmap_put(parent, heapCopy(key.c_str()), child = newTextMap());
    return child;
}

std::string lowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// url's host part (text after "//" up to the next '/'), or false.
bool hostPart(const char* url, std::string& host) {
    const char* slashes = url ? std::strstr(url, "//") : nullptr;
    if (!slashes) return false;
    const char* start = slashes + 2;
    host = lowerAscii(std::string(start, std::strcspn(start, "/")));
    return true;
}

template <size_t N>
bool fits(const std::string& text, const char (&)[N]) {
    return text.size() < N;
}

template <size_t N>
void copyInto(char (&field)[N], const std::string& text) {
    std::memcpy(field, text.c_str(), text.size() + 1);
}

// Whether a cookie for domain (without its leading '.') may be set by host.
bool domainCovers(const std::string& domain, const std::string& hostWithPort) {
    std::string host = hostWithPort.substr(0, hostWithPort.find(':'));
    if (domain.empty()) return false;
    return host == domain ||
           (host.size() > domain.size() && host.compare(host.size() - domain.size(), domain.size(), domain) == 0 &&
            host[host.size() - domain.size() - 1] == '.');
}

// Adds the cookies of domain and path to result (name -> value copy),
// keeping names collected before. Call with the jar's lock held.
void collect(const std::string& domain, const std::string& path, bool secureRequest, HashMap* result) {
    auto* paths = static_cast<HashMap*>(hashmap_get(domainMap, domain.c_str()));
    auto* names = paths ? static_cast<HashMap*>(hashmap_get(paths, path.c_str())) : nullptr;
    if (!names) return;
    KeyList* keys = hashmap_keys(names);
    KeyListIterator* it = keylist_iterator(keys);
    while (keylist_has_next(it)) {
        auto* name = static_cast<const char*>(keylist_next(it)->item);
        auto* cookie = static_cast<HttpCookie*>(hashmap_get(names, name));
        if (hashmap_contains_key(result, name) || (cookie->secure && !secureRequest)) continue;
        hashmap_put(result, heapCopy(name), heapCopy(cookie->value));
    }
    std::free(it);
    keylist_free(keys);
}

} // namespace

void getDomain(const char* url, std::string& output) {
    const char* slash = url ? std::strchr(url, '/') : nullptr;
    if (!slash) {
        std::printf("url 格式不正确@getDomain\n");
        return;
    }
    const char* start = slash[1] ? slash + 2 : slash + 1;
    output = "." + lowerAscii(std::string(start, std::strcspn(start, "/")));
}

void getPath(const char* url, std::string& output) {
    const char* slashes = url ? std::strstr(url, "//") : nullptr;
    if (!slashes) {
        std::printf("url 格式不正确@getPath\n");
        return;
    }
    std::string rest(slashes + 2, std::strcspn(slashes + 2, "?#"));
    size_t first = rest.find('/');
    size_t last = rest.rfind('/');
    output = first == std::string::npos || last == first ? "/" : rest.substr(first, last - first);
}

void getRootDomain(const char* url, std::string& output) {
    output.clear();
    std::string host;
    if (!hostPart(url, host)) {
        std::printf("url 格式不正确@getRootDomain-2\n");
        return;
    }
    size_t last = host.rfind('.');
    size_t second = last == std::string::npos || last == 0 ? std::string::npos : host.rfind('.', last - 1);
    output = second == std::string::npos ? "." + host : host.substr(second);
}

void http_cookie_init() {
    std::lock_guard<std::mutex> lock(cookieJarLock);
    if (!domainMap) domainMap = newTextMap();
}

void http_cookie_set(const char* url, const char* setCookie) {
    if (!url || !setCookie || std::strlen(setCookie) + 1 >= 1024 || http_has_control_chars(setCookie)) return;

    std::string text = std::string(setCookie) + ";";
    char* cursor = text.data();
    std::string name, value, domain, path;
    bool named = false, hasDomain = false, hasPath = false;
    int secure = 0;
    bool first = true;
    for (char* segment; (segment = str_sep(&cursor, ";")) != nullptr; first = false) {
        if (!first) segment = trim_left(segment);
        if (!named) {
            if (char* equals = std::strchr(segment, '=')) {
                name.assign(segment, static_cast<size_t>(equals - segment));
                value = equals + 1;
                named = true;
            }
        } else if (str_starts_with_nocase(segment, "Path=")) {
            path = segment + 5;
            if (path.size() > 1 && path.back() == '/') path.pop_back();
            hasPath = true;
        } else if (str_starts_with_nocase(segment, "Domain=")) {
            domain = lowerAscii(segment + 7);
            hasDomain = true;
        } else if (str_equals_nocase(trim_right(segment), "Secure")) {
            secure = 1;
        }
    }
    if (!named || name.empty()) return;

    std::string host;
    if (hasDomain) {
        while (!domain.empty() && domain[0] == '.') domain.erase(0, 1);
        if (!hostPart(url, host) || !domainCovers(domain, host)) return;
        domain = "." + domain;
    } else {
        getDomain(url, domain);
    }
    if (!hasPath) getPath(url, path);
    HttpCookie probe{};
    if (domain.empty() || path.empty() || !fits(value, probe.value) || !fits(domain, probe.domain) ||
        !fits(path, probe.path)) {
        return;
    }

    std::lock_guard<std::mutex> lock(cookieJarLock);
    if (!domainMap) {
        std::printf("没有调用 http_cookie_init()\n");
        return;
    }
    HashMap* names = childMap(childMap(domainMap, domain), path);
    auto* cookie = static_cast<HttpCookie*>(hashmap_get(names, name.c_str()));
    if (!cookie) hashmap_put(names, heapCopy(name.c_str()), cookie = heapCalloc<HttpCookie>());
    copyInto(cookie->value, value);
    copyInto(cookie->domain, domain);
    copyInto(cookie->path, path);
    cookie->secure = secure;
}

void http_cookie_get(const char* url, const char* extraCookies, std::string& output) {
    output.clear();
    std::string hostDomain, rootDomain, path;
    getDomain(url, hostDomain);
    getRootDomain(url, rootDomain);
    getPath(url, path);
    bool secureRequest = url && str_starts_with_nocase(url, "https:");

    HashMap* result = newTextMap();
    {
        std::lock_guard<std::mutex> lock(cookieJarLock);
        if (!domainMap) std::printf("domainMap == null, 因没有调用: http_cookie_init()\n");
        if (domainMap && !hostDomain.empty()) {
            collect(hostDomain, path, secureRequest, result);
            if (path != "/") collect(hostDomain, "/", secureRequest, result);
            if (!rootDomain.empty() && rootDomain != hostDomain) collect(rootDomain, "/", secureRequest, result);
        }
    }
    if (extraCookies) {
        std::string extra = std::string(extraCookies) + ";";
        char* cursor = extra.data();
        for (char* segment; (segment = str_sep(&cursor, ";")) != nullptr;) {
            segment = trim_left(segment);
            char* equals = std::strchr(segment, '=');
            if (!equals) continue;
            std::string name(segment, static_cast<size_t>(equals - segment));
            void* old = nullptr;
            if (hashmap_contains_key(result, name.c_str())) {
                old = hashmap_put(result, const_cast<char*>(name.c_str()), heapCopy(equals + 1));
            } else {
                hashmap_put(result, heapCopy(name.c_str()), heapCopy(equals + 1));
            }
            std::free(old);
        }
    }

    KeyList* keys = hashmap_keys(result);
    KeyListIterator* it = keylist_iterator(keys);
    while (keylist_has_next(it)) {
        auto* name = static_cast<const char*>(keylist_next(it)->item);
        output += output.empty() ? "Cookie: " : "; ";
        output += std::string(name) + "=" + static_cast<const char*>(hashmap_get(result, name));
    }
    std::free(it);
    keylist_free(keys);
    hashmap_free(result, 1, 1);
}
