// Reuse of ImageMagick's large pixel buffers in the render tests.
//
// Every frame of an effect clones, crops and resizes whole images, so the
// pixel buffers of large frames are allocated and freed many times a second.
// Under AddressSanitizer each such allocation is a fresh mapping whose pages
// all fault in anew (tens of milliseconds for a 1080x1440 frame), which made
// the render tests of large sizes several times slower than the drawing.
// The pool keeps freed buffers for the next allocation of a similar size.
// Buffers in use are not pointed to by the pool, so a leaked image is still
// reported by the leak checker.
#pragma once

namespace harness {

// Installs the pool as ImageMagick's aligned-memory allocator (after
// MagickWandGenesis, before any image exists).
void installPixelCachePool();
// Frees the buffers kept for reuse (after MagickWandTerminus).
void drainPixelCachePool();

} // namespace harness
