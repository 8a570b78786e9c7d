#include "production/music_catalogue.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/statvfs.h>
#include <thread>
#include <unistd.h>

#include "foundation/charset.h"
#include "foundation/file_path.h"
#include "foundation/text.h"
#include "net/http_download.h"
#include "net/http_request.h"
#include "net/reply_text.h"
#include "net/service_host.h"
#include "platform/atomic_file.h"
#include "platform/ui_thread.h"
#include "production/background_music.h"

MusicCatalogueLimits musicCatalogueLimits{100, 500LL << 20, 1LL << 30};

namespace {

constexpr std::size_t kMaxUrlLength = 259;
constexpr char kRecordName[] = ".catalogue";

std::vector<std::string> splitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t bar = line.find('|', start);
        fields.push_back(line.substr(start, bar - start));
        if (bar == std::string::npos) return fields;
        start = bar + 1;
    }
}

// A whole positive decimal number, or -1.
long long parseSize(const std::string& text) {
    if (!isDigits(text.c_str())) return -1;
    errno = 0;
    long long size = std::strtoll(text.c_str(), nullptr, 10);
    return errno == 0 && size > 0 ? size : -1;
}

std::string trimmed(std::string text) {
    return trim(text.data());
}

// Downloads url into path through a hidden file beside it, which replaces
// path only when its size is the expected one.
bool downloadMusicFile(const std::string& url, long long expectedSize, const std::string& path) {
    const std::string folder = path.substr(0, path.rfind('/'));
    const std::string partial = folder + "/." + getFileName(path.c_str()) + ".download";
    unlink(partial.c_str());
    HttpDownloadResult* result = http_download_file(url.c_str(), nullptr, nullptr, 1, 0, partial.c_str());
    const bool complete = result->ok && static_cast<long long>(result->size) == expectedSize;
    http_download_result_free(result);
    if (complete && std::rename(partial.c_str(), path.c_str()) == 0) return true;
    unlink(partial.c_str());
    return false;
}

// The songs the catalogue wrote into the music folder, each with the size
// it was written with ("size|name" lines): a file of such a name and size
// is the catalogue's to replace, any other the user's.
class CatalogueRecord {
public:
    explicit CatalogueRecord(const std::string& folder) : path(folder + "/" + kRecordName) {
        std::ifstream in(path);
        std::string line;
        while (std::getline(in, line)) {
            const std::size_t bar = line.find('|');
            if (bar == std::string::npos) continue;
            const long long size = parseSize(line.substr(0, bar));
            if (size > 0) sizes[line.substr(bar + 1)] = size;
        }
    }
    bool wrote(const std::string& name, long long size) const {
        auto found = sizes.find(name);
        return found != sizes.end() && found->second == size;
    }
    void add(const std::string& name, long long size) {
        sizes[name] = size;
        std::string text;
        for (const auto& [written, bytes] : sizes) text += std::to_string(bytes) + "|" + written + "\n";
        writeFileAtomically(path, text, 0644);
    }

private:
    std::string path;
    std::map<std::string, long long> sizes;
};

// Bytes an ordinary user may still write on folder's disk; -1 when unknown.
long long freeBytes(const std::string& folder) {
    struct statvfs disk {};
    if (statvfs(folder.c_str(), &disk) != 0) return -1;
    return static_cast<long long>(disk.f_bavail) * static_cast<long long>(disk.f_frsize);
}

} // namespace

std::string safeMusicFileName(const std::string& name) {
    const std::size_t separator = name.find_last_of("/\\");
    const std::string base = separator == std::string::npos ? name : name.substr(separator + 1);
    if (base.empty() || base[0] == '.' || !str_ends_with_nocase(base.c_str(), ".mp3")) return {};
    for (unsigned char c : base)
        if (c < 0x20 || c == 0x7F) return {};
    return base;
}

std::vector<MusicCatalogueEntry> parseMusicCatalogue(const std::string& text) {
    std::vector<MusicCatalogueEntry> entries;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> fields = splitFields(line);
        if (fields.size() < 3) continue;
        MusicCatalogueEntry entry{trimmed(fields[0]), parseSize(trimmed(fields[1])), safeMusicFileName(trimmed(fields[2]))};
        if (entry.url.empty() || entry.url.size() > kMaxUrlLength || entry.size < 0 || entry.fileName.empty()) continue;
        entries.push_back(std::move(entry));
    }
    return entries;
}

int thread_download_music() {
    const std::string url = serviceMusicCatalogueUrl();
    if (url.empty()) return 0;
    HttpResponsePtr catalogue(http_request(url.c_str(), nullptr, nullptr, 1, 0, nullptr));
    if (!catalogue->ok) return 0;
    const std::vector<MusicCatalogueEntry> entries = parseMusicCatalogue(http_reply_text(catalogue.get()));
    catalogue.reset();
    if (entries.empty()) return 0;

    const std::string folder = musicFolder();
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    CatalogueRecord record(folder);
    const MusicCatalogueLimits limits = musicCatalogueLimits;
    int songs = 0;
    long long total = 0;
    for (const MusicCatalogueEntry& entry : entries) {
        if (songs == limits.songs) break;
        if (entry.size > limits.totalBytes - total) continue;  // does not fit any more
        ++songs;
        total += entry.size;
        const std::string path = folder + "/" + entry.fileName;
        if (gbk_length(path.c_str()) > kMaxPathLength) continue;
        const long long present = getFileSize(path.c_str());
        if (present == entry.size) continue;
        if (present >= 0 && !record.wrote(entry.fileName, present)) continue;  // the user's file
        if (freeBytes(folder) - entry.size < limits.freeBytesKept) continue;
        if (!downloadMusicFile(entry.url, entry.size, path)) continue;
        record.add(entry.fileName, entry.size);
        runOnUiThread([&path] { addMusicPath(path); });
    }
    return 0;
}

void startMusicDownload() {
    // Without a service host there is nothing to fetch and no thread.
    if (serviceMusicCatalogueUrl().empty()) return;
    std::thread(thread_download_music).detach();
}
