// Whether the render computes its Lanczos resizes, Over composites,
// distortions and shape masks itself (the default) or hands each to
// ImageMagick's own call. Both give the same pixels to the last bit; where
// the installed ImageMagick no longer does, the start-up check
// (mirror_check.h) turns the switch off. Benchmarks turn it off to time one
// against the other, and tests to compare the two on every effect.
#pragma once

#include <atomic>

extern std::atomic<bool> ownPixelWork;
