#include "production/music_catalogue.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>
#include <mutex>
#include <sstream>
#include <sys/stat.h>
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
#include "net/socket_watch.h"
#include "platform/atomic_file.h"
#include "platform/regular_file.h"
#include "platform/ui_thread.h"
#include "production/background_music.h"

MusicCatalogueLimits musicCatalogueLimits{100, 500LL << 20, 1LL << 30};
std::atomic<int> musicDownloadDeadlineMs{120000};

namespace {

constexpr std::size_t kMaxUrlLength = 259;
constexpr char kRecordName[] = ".catalogue";
// Far above the record of every song the catalogue may keep (a line is a
// size and a name of a few hundred bytes at most); a larger file is not
// its record.
constexpr std::size_t kMaxRecordBytes = 1 << 20;

// How long endMusicDownload waits for the thread: far longer than it takes
// to notice the stop, short enough not to hold up the program's end.
constexpr std::chrono::seconds kEndWait{5};

// The first three "|"-separated fields of line; false when it has fewer.
bool firstThreeFields(std::string_view line, std::string_view (&fields)[3]) {
    std::size_t start = 0;
    for (std::string_view& field : fields) {
        if (start > line.size()) return false;
        const std::size_t bar = line.find('|', start);
        field = line.substr(start, bar - start);
        start = bar == std::string_view::npos ? line.size() + 1 : bar + 1;
    }
    return true;
}

struct CodePointRange {
    char32_t first, last;
};

// Characters that are not seen, or that reorder the text around them so a
// name shows as another: C0 and C1 controls, DEL, the direction marks,
// embeddings, overrides and isolates, the line and paragraph separators,
// and the rest of the characters Unicode has shown as nothing (its
// default-ignorable ones) but for the variation selectors, which choose
// how an emoji or a CJK character looks.
constexpr CodePointRange kHiddenCharacters[] = {
    {0x00, 0x1F},       // C0 controls
    {0x7F, 0x9F},       // DEL, C1 controls
    {0xAD, 0xAD},       // soft hyphen
    {0x34F, 0x34F},     // combining grapheme joiner
    {0x61C, 0x61C},     // Arabic letter mark
    {0x115F, 0x1160},   // Hangul fillers
    {0x17B4, 0x17B5},   // Khmer inherent vowels
    {0x180E, 0x180E},   // Mongolian vowel separator
    {0x200B, 0x200F},   // zero-width space, non-joiner and joiner; direction marks
    {0x2028, 0x202E},   // line and paragraph separators; embeddings and overrides
    {0x2060, 0x206F},   // word joiner, invisible operators, isolates, deprecated format controls
    {0x3164, 0x3164},   // Hangul filler
    {0xFEFF, 0xFEFF},   // zero-width no-break space (byte order mark)
    {0xFFA0, 0xFFA0},   // halfwidth Hangul filler
    {0xFFF0, 0xFFFB},   // unassigned ignorables, interlinear annotation
    {0x1BCA0, 0x1BCA3}, // shorthand format controls
    {0x1D173, 0x1D17A}, // musical symbol format controls
    {0xE0000, 0xE00FF}, // tags, unassigned ignorables
    {0xE01F0, 0xE0FFF}, // unassigned ignorables
};

bool isHiddenCharacter(char32_t codePoint) {
    return std::any_of(std::begin(kHiddenCharacters), std::end(kHiddenCharacters),
                       [codePoint](const CodePointRange& range) {
                           return codePoint >= range.first && codePoint <= range.last;
                       });
}

// The code point that begins at unit (a surrogate pair joined); unit moves
// past it.
char32_t takeCodePoint(const char16_t*& unit) {
    char32_t codePoint = *unit++;
    if (codePoint >= 0xD800 && codePoint <= 0xDBFF && *unit >= 0xDC00 && *unit <= 0xDFFF)
        codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (*unit++ - 0xDC00);
    return codePoint;
}

// A whole positive decimal number, or -1.
long long parseSize(const std::string& text) {
    if (!isDigits(text.c_str())) return -1;
    errno = 0;
    long long size = std::strtoll(text.c_str(), nullptr, 10);
    return errno == 0 && size > 0 ? size : -1;
}

std::string trimmed(std::string_view field) {
    std::string text(field);
    return trim(text.data());
}

// The catalogue's thread, never destroyed: one still inside a request when
// the program ends is left to end with the process.
struct MusicThread {
    std::thread thread;
    std::mutex lock;
    std::condition_variable endedSignal;
    bool ended = true;  // under lock
};

MusicThread& musicThread() {
    static auto* thread = new MusicThread;
    return *thread;
}

std::atomic<bool> musicStopRequested{false};

// The check of the catalogue's requests: false once the program is ending.
bool keepDownloadingMusic() {
    return !musicStopRequested;
}

// Downloads url into path through a hidden file beside it, which replaces
// path only when its size is the expected one. A reply longer than that
// ends as soon as it passes it: the free space was judged by that size.
bool downloadMusicFile(const std::string& url, long long expectedSize, const std::string& path) {
    const std::string folder = path.substr(0, path.rfind('/'));
    const std::string partial = folder + "/." + getFileName(path.c_str()) + ".download";
    unlink(partial.c_str());
    SocketWatch watch(std::chrono::milliseconds(musicDownloadDeadlineMs.load()), keepDownloadingMusic);
    HttpDownloadResult* result =
        http_download_file(url.c_str(), nullptr, nullptr, 1, 0, partial.c_str(), expectedSize);
    const bool complete = result->ok && static_cast<long long>(result->size) == expectedSize;
    http_download_result_free(result);
    if (complete && std::rename(partial.c_str(), path.c_str()) == 0) return true;
    unlink(partial.c_str());
    return false;
}

// What lies at path, its last part not followed: the size of a regular
// file, kNothingThere, or kNotAFile for a link, folder, FIFO or socket and
// for a name that cannot be looked at. Only a regular file can be a song
// the catalogue wrote.
constexpr long long kNothingThere = -1;
constexpr long long kNotAFile = -2;
long long entrySize(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) return errno == ENOENT ? kNothingThere : kNotAFile;
    return S_ISREG(info.st_mode) ? static_cast<long long>(info.st_size) : kNotAFile;
}

// The songs the catalogue wrote into the music folder, each with the size
// it was written with ("size|name" lines): a file of such a name and size
// is the catalogue's to replace, any other the user's.
class CatalogueRecord {
public:
    // A record that is not a regular file within its bound (a link, a
    // FIFO) is read as empty: every song then counts as the user's.
    explicit CatalogueRecord(const std::string& folderPath) : folder(folderPath), path(folderPath + "/" + kRecordName) {
        std::string text;
        readRegularFile(path.c_str(), kMaxRecordBytes, text, FollowLinks::No);
        std::istringstream lines(text);
        std::string line;
        while (std::getline(lines, line)) {
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
    // The recorded songs still in the folder as they were written, and
    // their sizes together.
    void held(int& songs, long long& bytes) const {
        songs = 0;
        bytes = 0;
        for (const auto& [name, size] : sizes) {
            if (entrySize(folder + "/" + name) != size) continue;
            ++songs;
            bytes += size;
        }
    }
    void add(const std::string& name, long long size) {
        sizes[name] = size;
        std::string text;
        for (const auto& [written, bytes] : sizes) text += std::to_string(bytes) + "|" + written + "\n";
        writeFileAtomically(path, text, 0644);
    }

private:
    std::string folder;
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
    char16_t* units = ansi_to_wide(base.c_str());  // null when not UTF-8
    bool visible = units != nullptr;
    for (const char16_t* unit = units; visible && *unit;) visible = !isHiddenCharacter(takeCodePoint(unit));
    std::free(units);
    return visible ? base : std::string();
}

std::vector<MusicCatalogueEntry> parseMusicCatalogue(std::string_view text, const MusicCatalogueLimits& limits) {
    std::vector<MusicCatalogueEntry> entries;
    long long total = 0;
    std::size_t start = 0;
    while (start < text.size() && static_cast<long long>(entries.size()) < limits.songs) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        std::string_view fields[3];
        if (!firstThreeFields(line, fields)) continue;
        MusicCatalogueEntry entry{trimmed(fields[0]), parseSize(trimmed(fields[1])), safeMusicFileName(trimmed(fields[2]))};
        if (entry.url.empty() || entry.url.size() > kMaxUrlLength || entry.size < 0 || entry.fileName.empty()) continue;
        if (entry.size > limits.totalBytes - total) continue;  // does not fit any more
        total += entry.size;
        entries.push_back(std::move(entry));
    }
    return entries;
}

int thread_download_music() {
    const std::string url = serviceMusicCatalogueUrl();
    if (url.empty()) return 0;
    const MusicCatalogueLimits limits = musicCatalogueLimits;
    std::vector<MusicCatalogueEntry> entries;
    {
        SocketWatch watch(std::chrono::milliseconds(musicDownloadDeadlineMs.load()), keepDownloadingMusic);
        HttpResponsePtr catalogue(http_request(url.c_str(), nullptr, nullptr, 1, 0, nullptr));
        if (!catalogue->ok) return 0;
        entries = parseMusicCatalogue(http_reply_text(catalogue.get()), limits);
    }
    if (entries.empty()) return 0;

    const std::string folder = musicFolder();
    if (folder.empty()) return 0;
    CatalogueRecord record(folder);
    // What the catalogue keeps in the folder stays within the bounds over
    // all its runs, not per run.
    int songsHeld = 0;
    long long bytesHeld = 0;
    record.held(songsHeld, bytesHeld);
    for (const MusicCatalogueEntry& entry : entries) {
        if (!keepDownloadingMusic()) break;
        const std::string path = folder + "/" + entry.fileName;
        if (gbk_length(path.c_str()) > kMaxPathLength) continue;
        const long long present = entrySize(path);
        if (present == entry.size || present == kNotAFile) continue;
        const bool replacing = present != kNothingThere;
        if (replacing && !record.wrote(entry.fileName, present)) continue;  // the user's file
        const int songsAfter = songsHeld + (replacing ? 0 : 1);
        const long long bytesAfter = bytesHeld + entry.size - (replacing ? present : 0);
        if (songsAfter > limits.songs || bytesAfter > limits.totalBytes) continue;
        if (freeBytes(folder) - entry.size < limits.freeBytesKept) continue;
        if (!downloadMusicFile(entry.url, entry.size, path)) continue;
        record.add(entry.fileName, entry.size);
        songsHeld = songsAfter;
        bytesHeld = bytesAfter;
        runOnUiThread([&path] { addMusicPath(path); });
    }
    return 0;
}

void startMusicDownload() {
    // Without a service host there is nothing to fetch and no thread.
    if (serviceMusicCatalogueUrl().empty()) return;
    MusicThread& music = musicThread();
    {
        std::lock_guard<std::mutex> hold(music.lock);
        if (!music.ended) return;  // the earlier thread still works (or ends)
        music.ended = false;
    }
    if (music.thread.joinable()) music.thread.join();
    musicStopRequested = false;
    music.thread = std::thread([&music] {
        thread_download_music();
        std::lock_guard<std::mutex> hold(music.lock);
        music.ended = true;
        music.endedSignal.notify_all();
    });
}

void endMusicDownload() {
    MusicThread& music = musicThread();
    musicStopRequested = true;
    if (!music.thread.joinable()) return;
    bool ended = false;
    {
        std::unique_lock<std::mutex> hold(music.lock);
        ended = music.endedSignal.wait_for(hold, kEndWait, [&music] { return music.ended; });
    }
    if (ended) music.thread.join();
    else music.thread.detach();
}
