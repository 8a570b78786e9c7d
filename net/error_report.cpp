#include "net/error_report.h"

#include "foundation/globals.h"
#include "foundation/local_time.h"
#include "foundation/system_info.h"
#include "net/format_text.h"
#include "net/http_request.h"
#include "net/service_host.h"
#include "platform/data_folder.h"
#include "platform/xdg_dirs.h"

#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kLogName[] = "error_report.log";

std::mutex logLock;

// The log for appending, when it is this user's regular file (made when
// missing). A link or FIFO put in its place, or another user's file, is
// refused: reports would land where that account chose.
int openLog(const std::string& folder) {
    int fd = open((folder + "/" + kLogName).c_str(),
                  O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    struct stat info {};
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid()) return fd;
    close(fd);
    return -1;
}

void appendToLog(const char* where, const char* message) {
    const std::string folder = privateDataFolder();
    if (folder.empty()) return;

    char stamp[32] = "";
    format_local_datetime(stamp, sizeof stamp);
    unsigned major = 0, minor = 0, build = 0;
    getWindowsVersion(&major, &minor, &build);
    char processor[128] = "";
    getProcessorSignature(processor, sizeof processor);
    std::string record = formatText("[%s] %s (v%0.1f, os %u.%u.%u, cpu %s, user %s)\n%s\n\n", stamp, where,
                                    programVersion, major, minor, build, processor, userId, message);

    std::lock_guard<std::mutex> lock(logLock);
    int fd = openLog(folder);
    if (fd < 0) return;
    size_t written = 0;
    while (written < record.size()) {
        ssize_t n = write(fd, record.data() + written, record.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        written += static_cast<size_t>(n);
    }
    close(fd);
}

} // namespace

std::string errorReportLogPath() {
    return xdgDataHome() + "/Tevrako/" + kLogName;
}

void sendErrorReport(const char* where, const char* message) {
    if (!where) where = "";
    if (!message) message = "";
    std::string url = serviceErrorReportUrl(where, message);
    if (!url.empty()) {
        HttpResponsePtr response(http_request(url.c_str(), nullptr, nullptr, 1, 0, nullptr));
        if (response->ok) return;
    }
    appendToLog(where, message);
}
