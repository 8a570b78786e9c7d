#include "production/logo_copy.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "foundation/text.h"
#include "platform/private_folder.h"
#include "platform/regular_file.h"
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

// Copies from the start of the file; false past kMaxLogoBytes, which a
// file growing while it is copied can reach.
bool copyContent(std::FILE* from, int to) {
    if (std::fseek(from, 0, SEEK_SET) != 0) return false;
    char buffer[65536];
    std::int64_t copied = 0;
    for (;;) {
        std::size_t n = std::fread(buffer, 1, sizeof buffer, from);
        if (n == 0) return !std::ferror(from);
        copied += static_cast<std::int64_t>(n);
        if (copied > kMaxLogoBytes || !writeAll(to, buffer, static_cast<ssize_t>(n))) return false;
    }
}

} // namespace

std::unique_ptr<LogoCopy> LogoCopy::make(const std::string& logoPath, const std::string& folder) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> source(openRegularFileStream(logoPath.c_str()),
                                                           &std::fclose);
    if (!source) return nullptr;
    struct stat status {};
    ImageHeaderInfo header;
    if (fstat(fileno(source.get()), &status) != 0 || status.st_size > kMaxLogoBytes ||
        !readImageHeaderInfo(source.get(), &header))
        return nullptr;
    // Checked again here, without following a link: the copy is written
    // through this descriptor and removed through it.
    Descriptor target(openPrivateFolder(folder, false));
    if (target.get() < 0) return nullptr;
    const char* extension = header.type == "JPEG" ? "jpg" : "png";

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
