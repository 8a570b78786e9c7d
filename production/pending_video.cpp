#include "production/pending_video.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "net/format_text.h"
#include "platform/atomic_file.h"

namespace {

constexpr char kVideoExtension[] = ".mp4";

// Whether the file's content has reached the disk: a rename that lands
// before the data would leave an empty video after a power cut.
bool flushToDisk(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    bool flushed = ::fsync(fd) == 0;
    int error = errno;
    ::close(fd);
    errno = error;
    return flushed;
}

} // namespace

std::unique_ptr<PendingVideo> PendingVideo::make(const std::string& path, int* error) {
    // Mode 0666 less the umask, as the encoder would make the file itself.
    std::string temporary = createTemporaryBeside(path, kVideoExtension, 0666);
    if (temporary.empty()) {
        *error = errno;
        return nullptr;
    }
    return std::unique_ptr<PendingVideo>(new PendingVideo(path, std::move(temporary)));
}

PendingVideo::PendingVideo(std::string path, std::string temporary)
    : path_(std::move(path)), temporary_(std::move(temporary)) {}

PendingVideo::~PendingVideo() { discard(); }

bool PendingVideo::keep(int* error) {
    if (temporary_.empty()) {
        *error = ENOENT;
        return false;
    }
    if (flushToDisk(temporary_) && ::rename(temporary_.c_str(), path_.c_str()) == 0) {
        temporary_.clear();
        return true;
    }
    *error = errno;
    discard();
    return false;
}

void PendingVideo::discard() {
    if (temporary_.empty()) return;
    ::unlink(temporary_.c_str());
    temporary_.clear();
}

std::string videoNotSavedText(const std::string& path, int error) {
    return formatText("无法保存视频文件：\n\n%s\n%s\n\n请将视频保存到您有写入权限的文件夹。", path.c_str(),
                      std::strerror(error));
}

void removeStaleVideoTemporaries(const std::string& folder) {
    // A name too long for the folder keeps only part of the video's name in
    // its temporary's, so any target name counts.
    removeStaleAtomicTemporaries(folder, {"*"}, kVideoExtension);
}
