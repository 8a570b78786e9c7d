#include "imagemagick_comparison.h"

#include <gtest/gtest-spi.h>

#include <cstdio>

#include "foundation/md5.h"
#include "render/magick_mirror/own_pixel_work.h"

namespace {

// A failure's message with its middle cut (a whole image's bytes can stand
// there), keeping its start and the traces that name the case.
std::string shortened(const std::string& message) {
    const std::size_t keep = 400;
    std::size_t trace = message.find("\nGoogle Test trace:");
    if (trace == std::string::npos) trace = message.size();
    if (trace <= keep) return message;
    return message.substr(0, keep) + " [...]" + message.substr(trace);
}

// Whether the start-up check, run afresh, turns the render's own work off.
bool startupCheckTurnsOwnWorkOff() {
    const bool saved = ownPixelWork;
    ownPixelWork = true;
    const bool kept = checkOwnPixelWork();
    ownPixelWork = saved;
    return !kept;
}

} // namespace

ImageMagickComparison::ImageMagickComparison(std::string operation, std::string digest)
    : operation_(std::move(operation)), recorded_(std::move(digest)) {}

void ImageMagickComparison::reference(MagickWand* wand) { reference(mirrorResultOf(wand)); }

void ImageMagickComparison::reference(const MirrorResult& result) {
    const long long geometry[] = {static_cast<long long>(result.width),
                                  static_cast<long long>(result.height), result.x, result.y,
                                  result.matte};
    reference(geometry, sizeof geometry);
    reference(result.channels.data(), result.channels.size() * sizeof(unsigned short));
}

void ImageMagickComparison::reference(const void* bytes, std::size_t length) {
    char digest[33];
    md5_hex(bytes, length, digest);
    referenceDigests_ += digest;
}

void ImageMagickComparison::compare(const std::function<void()>& comparisons) {
    if (stopped_) return;
    testing::TestPartResultArray results;
    {
        testing::ScopedFakeTestPartResultReporter holder(
            testing::ScopedFakeTestPartResultReporter::INTERCEPT_ALL_THREADS, &results);
        comparisons();
    }
    for (int i = 0; i < results.size(); ++i) {
        held_.push_back(results.GetTestPartResult(i));
        stopped_ = stopped_ || held_.back().fatally_failed();
    }
}

std::string ImageMagickComparison::judge() {
    char digest[33];
    md5_hex(referenceDigests_.data(), referenceDigests_.size(), digest);
    if (digest == recorded_) {
        for (const testing::TestPartResult& failure : held_)
            ADD_FAILURE_AT(failure.file_name() ? failure.file_name() : "?",
                           failure.line_number())
                << failure.message();
        return "";
    }
    const std::string change = "the installed ImageMagick's " + operation_ +
                               " gives other results on these cases than the one they were "
                               "recorded with (MD5 " + std::string(digest) + ", recorded " +
                               recorded_ + ")";
    if (held_.empty()) {
        std::printf("%s; the program's own work gives them too\n", change.c_str());
        return "";
    }
    EXPECT_TRUE(startupCheckTurnsOwnWorkOff())
        << change << ", and the program's own work differs from it, but the start-up check "
        << "leaves the work to the program: its frames would differ from ImageMagick's";
    return change + "; the program's own work differs from it, first here:\n" +
           shortened(held_.front().message());
}
