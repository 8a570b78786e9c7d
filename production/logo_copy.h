// The copy of the logo that the encoder's overlay filter reads from its
// working folder. The copy lies only in this process's private folder,
// where no other user can read or swap it, and is removed with its owner
// once the encoder that reads it has ended.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

// The largest logo file taken. A logo is never larger than the video, and
// the largest video, 3840 x 2160, stored as a PNG of 16-bit RGBA without
// any compression takes 8 bytes a pixel: 63.3 MiB. Rounded up to 80 MiB for
// row filters, chunk framing and metadata such as colour profiles, no real
// logo comes near it; a larger file is neither read nor copied.
inline constexpr std::int64_t kMaxLogoBytes = std::int64_t{80} << 20;

class LogoCopy {
public:
    // Copies the logo into folder as "temp_%d.png" or "temp_%d.jpg" (by the
    // type its header shows, never the user's extension, so the name is safe
    // inside the filter graph), with a number from 10000 to 99999 not yet
    // taken, created exclusively with mode 0600. The logo is opened once,
    // only as a regular file (see platform/regular_file.h), and copied from
    // that open file. Null when folder is not a private folder of this user
    // (see platform/private_folder.h), the logo cannot be read, its header
    // gives no picture, it holds more than kMaxLogoBytes or the copy cannot
    // be written (nothing is left behind then).
    static std::unique_ptr<LogoCopy> make(const std::string& logoPath, const std::string& folder);
    // Removes the copy.
    ~LogoCopy();
    LogoCopy(const LogoCopy&) = delete;
    LogoCopy& operator=(const LogoCopy&) = delete;

    const std::string& folder() const { return folder_; }  // where the encoder runs
    const std::string& name() const { return name_; }      // the copy's bare name in it

private:
    LogoCopy(int folderFd, std::string folder, std::string name);
    int folderFd_;
    std::string folder_;
    std::string name_;
};
