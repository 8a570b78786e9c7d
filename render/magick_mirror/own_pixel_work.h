// Whether the render computes its Lanczos resizes, Over composites,
// distortions and shape masks itself (the default) or hands each to
// ImageMagick's own call. Both give the same pixels to the last bit; the
// switch is for benchmarks, which time one against the other, and for tests
// that compare the two on every effect.
#pragma once

#include <atomic>

extern std::atomic<bool> ownPixelWork;
