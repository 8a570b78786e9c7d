// Proves at start-up that ImageMagick's coders work: the built-in test
// pictures (PNG, progressive JPEG, GIF, BMP) must decode, and a frame must
// encode as JPEG and as PNG. The system ImageMagick finds its own coders,
// so nothing is pointed elsewhere or repaired here.
#pragma once

#include <string>

// 1 when every coder works; 0 with ImageMagick's description of the first
// failure in *failure (when given).
int validateImageMagick(std::string* failure = nullptr);

// The start-up step after MagickWandGenesis: runs the self-test and
// returns its result. A failure is reported (where "validateImageMagick",
// with the description and the program folder).
int setupImageMagickEnvironment();

// setupImageMagickEnvironment, and on failure the warning box (no owner)
// and the end of the process with exit status 1.
void requireWorkingImageMagick();

// The warning shown when the self-test fails.
extern const char* const kImageMagickFailureText;
