#include "production/download_folder.h"

#include "foundation/globals.h"
#include "foundation/text.h"
#include "platform/private_folder.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <random>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

constexpr char kFolderPrefix[] = "downloads-";

std::mutex folderLock;
std::string folderParent;  // the work folder this process's folder was made in
std::string folderName;    // this process's folder inside it, or empty

// A work folder's descriptor, closed with it; -1 when the folder is not a
// private folder of this user (see platform/private_folder.h).
class WorkFolder {
public:
    explicit WorkFolder(const std::string& path) : fd(openPrivateFolder(path, false)) {}
    ~WorkFolder() {
        if (fd >= 0) close(fd);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    const int fd;
};

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

// Makes "downloads-<pid>-XXXXXX" (six random letters and digits, as
// mkdtemp draws them) inside the folder workFd; its name, or empty.
std::string makeFolderAt(int workFd) {
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::uniform_int_distribution<int> pick(0, sizeof letters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = kFolderPrefix + std::to_string(::getpid()) + "-";
        for (int i = 0; i < 6; ++i) name += letters[pick(random)];
        if (::mkdirat(workFd, name.c_str(), 0700) == 0) return name;
        if (errno != EEXIST) break;
    }
    return {};
}

} // namespace

std::string ensureDownloadFolder() {
    std::lock_guard<std::mutex> lock(folderLock);
    WorkFolder work(workFolder);
    if (work.fd < 0) return {};
    // Checked again at every use, without following a link: a folder
    // removed or replaced behind the program's back is made anew.
    if (folderName.empty() || folderParent != workFolder || !isPrivateFolderAt(work.fd, folderName.c_str())) {
        folderParent = workFolder;
        folderName = makeFolderAt(work.fd);
        if (folderName.empty() || !isPrivateFolderAt(work.fd, folderName.c_str())) {
            folderName.clear();
            return {};
        }
    }
    return folderParent + "/" + folderName;
}

void removeDownloadFolder() {
    std::lock_guard<std::mutex> lock(folderLock);
    if (folderName.empty()) return;
    WorkFolder work(folderParent);
    if (work.fd >= 0) removeFolderTreeAt(work.fd, folderName.c_str());
    folderName.clear();
}

void removeStaleDownloadFolders() {
    WorkFolder work(workFolder);
    if (work.fd < 0) return;
    for (const std::string& name : folderEntriesAt(work.fd)) {
        pid_t owner = folderOwner(name);
        if (owner != 0 && owner != ::getpid() && !processRuns(owner))
            removeFolderTreeAt(work.fd, name.c_str());
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
