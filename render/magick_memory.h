// ImageMagick's memory as run memory (platform/run_memory.h): its pixel
// caches and other large blocks come from the run pool, so the images a
// render run makes and frees reuse their pages while it lasts and go back
// to the system when it ends.
#pragma once

// Enables run memory and gives ImageMagick's allocations to it. Call once,
// on the main thread at start, before MagickWandGenesis and before any
// other thread. False, with ImageMagick's own allocation left in place,
// where run memory cannot be enabled (the sanitizer builds).
bool useRunMemoryForImageMagick();
