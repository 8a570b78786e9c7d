#include "production/logo_copy.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "foundation/text.h"
#include "platform/private_folder.h"
#include "render/image_probe.h"

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Hands the descriptor over; this one no longer closes it.
    int release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }
    // Closes now, so a failing close (a full disk) is seen.
    bool finish() { return close(release()) == 0; }

private:
    int fd_;
};

bool writeAll(int fd, const char* bytes, ssize_t length) {
    while (length > 0) {
        ssize_t n = write(fd, bytes, static_cast<size_t>(length));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes += n;
        length -= n;
    }
    return true;
}

bool copyContent(int from, int to) {
    char buffer[65536];
    for (;;) {
        ssize_t n = read(from, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        if (!writeAll(to, buffer, n)) return false;
    }
}

} // namespace

std::unique_ptr<LogoCopy> LogoCopy::make(const std::string& logoPath, const std::string& folder) {
    Descriptor source(open(logoPath.c_str(), O_RDONLY | O_CLOEXEC));
    if (source.get() < 0) return nullptr;
    // Checked again here, without following a link: the copy is written
    // through this descriptor and removed through it.
    Descriptor target(openPrivateFolder(folder, false));
    if (target.get() < 0) return nullptr;
    const char* extension = probeImageType(logoPath) == IMAGE_PROBE_JPEG ? "jpg" : "png";

    // Names are drawn until a free one is found; the bound only guards a
    // folder that refuses every name.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        std::string name = "temp_" + std::to_string(random_range(10000, 99999)) + "." + extension;
        Descriptor copy(openat(target.get(), name.c_str(),
                               O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (copy.get() < 0) {
            if (errno == EEXIST) continue;  // taken: draw another number
            return nullptr;
        }
        if (copyContent(source.get(), copy.get()) && copy.finish())
            return std::unique_ptr<LogoCopy>(new LogoCopy(target.release(), folder, name));
        unlinkat(target.get(), name.c_str(), 0);
        return nullptr;
    }
    return nullptr;
}

LogoCopy::LogoCopy(int folderFd, std::string folder, std::string name)
    : folderFd_(folderFd), folder_(std::move(folder)), name_(std::move(name)) {}

LogoCopy::~LogoCopy() {
    unlinkat(folderFd_, name_.c_str(), 0);
    close(folderFd_);
}
