// The file twin of http_request: the body of a GET goes straight into a
// new file as it arrives.
#pragma once

struct HttpDownloadResult {
    int ok;
    char* header;        // the reply head, null when none was read
    unsigned size;       // bytes written to the file
    int errorKind;       // 1 and 2 as for http_request; 3 the file could not be
                         // created (the message says why); 4 a write failed
    char* errorMessage;  // on failure
};

// As http_request (GET only), writing the body into filePath, which must
// not exist yet: it is created for this download alone, and removed again
// when the download fails. A body longer than maxBytes (when not negative)
// fails as soon as it passes it, with errorKind 2. Never null; freed with
// http_download_result_free.
HttpDownloadResult* http_download_file(const char* url, const char* cookie, const char* referer, int keepAlive,
                                       int depth, const char* filePath, long long maxBytes = -1);
void http_download_result_free(HttpDownloadResult* result);
