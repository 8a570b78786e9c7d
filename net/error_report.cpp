#include "net/error_report.h"

#include "foundation/globals.h"
#include "foundation/local_time.h"
#include "foundation/system_info.h"
#include "net/format_text.h"
#include "net/http_request.h"
#include "net/service_host.h"
#include "platform/xdg_dirs.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <unistd.h>

namespace {

std::mutex logLock;

void appendToLog(const char* where, const char* message) {
    std::string path = errorReportLogPath();
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);

    char stamp[32] = "";
    format_local_datetime(stamp, sizeof stamp);
    unsigned major = 0, minor = 0, build = 0;
    getWindowsVersion(&major, &minor, &build);
    char processor[128] = "";
    getProcessorSignature(processor, sizeof processor);
    std::string record = formatText("[%s] %s (v%0.1f, os %u.%u.%u, cpu %s, user %s)\n%s\n\n", stamp, where,
                                    programVersion, major, minor, build, processor, userId, message);

    std::lock_guard<std::mutex> lock(logLock);
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
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
    return xdgDataHome() + "/Tevrako/error_report.log";
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
