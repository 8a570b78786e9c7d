#include "render/magick_mirror/pixel_work_fault.h"

#include <atomic>

namespace {

// Checks left before the failing one; negative while unarmed.
std::atomic<long> checksLeft{-1};

} // namespace

void failPixelWorkStep(long steps) { checksLeft = steps < 0 ? -1 : steps; }

bool pixelWorkStepFails() {
    if (checksLeft.load(std::memory_order_relaxed) < 0) return false;
    return checksLeft.fetch_sub(1) == 0;
}
