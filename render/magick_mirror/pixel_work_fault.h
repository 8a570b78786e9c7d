// A seam for tests: makes one step of the render's own pixel work fail
// where ImageMagick fails only when memory or disk runs out (a source row
// read, a finished image handed to its wand), so that a test can show the
// failure reaching the caller. Nothing in the program arms it; unarmed, a
// check is one relaxed load.
#pragma once

// Arms the seam: the check after `steps` more (0: the next one) fails,
// once; a negative count disarms it.
void failPixelWorkStep(long steps);

// Counts one step: true for the one the seam fails.
bool pixelWorkStepFails();
