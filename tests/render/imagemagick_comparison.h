// The tests that hold the render's own resizes, composites, distortions and
// shape masks to ImageMagick's own calls see a difference for one of two
// reasons: a fault in the program's own code, or an installed ImageMagick
// whose arithmetic changed (Debian's updates replace its files without
// changing its version). Each such test records the MD5 of what
// ImageMagick's calls gave on its cases. While the installed ImageMagick
// still gives that digest, every difference fails the test. Once it gives
// another, a difference skips the test with a message naming the operation
// and the first differing case, and the start-up check must then turn the
// program's own work off (the test fails if it does not).
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include <wand/MagickWand.h>

#include "render/magick_mirror/mirror_check.h"

class ImageMagickComparison {
public:
    // operation: ImageMagick's call the cases compare with; digest: the MD5
    // (32 upper-case hexadecimal digits) of the MD5s of its results on the
    // cases, in order.
    ImageMagickComparison(std::string operation, std::string digest);

    // ImageMagick's result for the next case: its image (size, page offset,
    // alpha switch and every channel at full depth), or bytes.
    void reference(MagickWand* wand);
    void reference(const MirrorResult& result);
    void reference(const void* bytes, std::size_t length);

    // Runs one case's comparisons (EXPECT and ASSERT as usual). Their
    // failures are held until judge(); after a fatal one (an ASSERT) no
    // further comparison runs, while the references still count.
    void compare(const std::function<void()>& comparisons);

    // After the last case: reports the held failures and returns "" while
    // ImageMagick gives the recorded digest; else returns why the test is
    // skipped, having checked that the start-up check turns the render's own
    // work off. Use: if (auto why = c.judge(); !why.empty()) GTEST_SKIP() << why;
    std::string judge();

private:
    std::string operation_;
    std::string recorded_;
    std::string referenceDigests_;  // each reference's MD5, in order
    std::vector<testing::TestPartResult> held_;
    bool stopped_ = false;
};
