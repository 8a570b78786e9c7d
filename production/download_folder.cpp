#include "production/download_folder.h"

#include "foundation/globals.h"
#include "foundation/text.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <sys/types.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr char kFolderPrefix[] = "downloads-";

std::mutex folderLock;
std::string folderPath;

// The process id in a download folder's name, or 0 when the name is not one.
pid_t folderOwner(const std::string& name) {
    if (name.rfind(kFolderPrefix, 0) != 0) return 0;
    const char* digits = name.c_str() + sizeof kFolderPrefix - 1;
    char* end = nullptr;
    long pid = std::strtol(digits, &end, 10);
    if (end == digits || *end != '-' || pid <= 0) return 0;
    return static_cast<pid_t>(pid);
}

bool processRuns(pid_t pid) {
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

} // namespace

std::string ensureDownloadFolder() {
    std::lock_guard<std::mutex> lock(folderLock);
    if (!folderPath.empty()) {
        std::error_code error;
        if (fs::is_directory(folderPath, error)) return folderPath;
        folderPath.clear();
    }
    if (workFolder.empty()) return {};
    std::string pattern = workFolder + "/" + kFolderPrefix + std::to_string(::getpid()) + "-XXXXXX";
    if (::mkdtemp(pattern.data())) folderPath = pattern;
    return folderPath;
}

void removeDownloadFolder() {
    std::lock_guard<std::mutex> lock(folderLock);
    if (folderPath.empty()) return;
    std::error_code ignored;
    fs::remove_all(folderPath, ignored);
    folderPath.clear();
}

void removeStaleDownloadFolders() {
    if (workFolder.empty()) return;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(workFolder, error)) {
        pid_t owner = folderOwner(entry.path().filename().string());
        if (owner == 0 || owner == ::getpid() || processRuns(owner)) continue;
        std::error_code ignored;
        if (entry.is_directory(ignored) && !entry.is_symlink(ignored)) fs::remove_all(entry.path(), ignored);
    }
}

void makeDownloadFileName(char name[kDownloadFileNameSize]) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char clock[16] = "";
    std::strftime(clock, sizeof clock, "%H-%M-%S", &local);
    std::snprintf(name, kDownloadFileNameSize, "%s-%d.jpg", clock, random_range(100, 999));
}
