#include "net/error_report.h"

#include "foundation/globals.h"
#include "net/format_text.h"
#include "net/service_host.h"

#include <cerrno>
#include <ctime>
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
    std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local)) std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    std::string record = formatText("[%s] %s (v%0.1f, user %s)\n%s\n\n", stamp, where, programVersion,
                                    userId, message);

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
    const char* state = getenv("XDG_STATE_HOME");
    std::string base;
    if (state && *state == '/') {
        base = state;
    } else {
        const char* home = getenv("HOME");
        base = std::string(home && *home ? home : "/tmp") + "/.local/state";
    }
    return base + "/Tevrako/error_report.log";
}

void sendErrorReport(const char* where, const char* message) {
    if (!where) where = "";
    if (!message) message = "";
    // The network report comes with the HTTP client; until a service host
    // answers, nothing is lost: the report goes to the log.
    appendToLog(where, message);
}
