// The start-up check that the render's own resizes, composites, distortions
// and shape masks still give the installed ImageMagick's pixels. They repeat
// the arithmetic of the library's files (mirrored_magick.h names them), and
// Debian's security updates replace such files without changing the
// version. So a handful of tiny cases of each kind is worked both ways and
// compared bit for bit; when any differs, all that work goes back to
// ImageMagick's own calls (ownPixelWork off): slower, never other frames.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <vector>

#include <wand/MagickWand.h>

// What a case compares: the image's size, page offset and alpha switch, and
// every channel of every pixel at full depth (RGBA, row after row).
struct MirrorResult {
    std::size_t width = 0, height = 0;
    ssize_t x = 0, y = 0;
    bool matte = false;
    std::vector<unsigned short> channels;
    bool operator==(const MirrorResult&) const = default;
};

// The result of the wand's current image; an empty result for no image.
MirrorResult mirrorResultOf(MagickWand* wand);

// One tiny case, worked by the program's own code and by ImageMagick's call.
struct MirrorCase {
    const char* name;       // what is worked on, for the log line
    const char* operation;  // ImageMagick's call
    std::function<MirrorResult()> own;
    std::function<MirrorResult()> imageMagick;
};

// The cases the check works: Lanczos enlargements and reductions with and
// without alpha, Over composites with alpha (in place and on a new canvas),
// a perspective distortion, a rotation and a shape fill's mask.
const std::vector<MirrorCase>& mirrorCases();

// While ownPixelWork is on, works the cases; when any differs, turns
// ownPixelWork off and says so in one line on standard error naming them.
// Returns ownPixelWork afterwards. Call after MagickWandGenesis, before any
// render starts.
bool checkOwnPixelWork(const std::vector<MirrorCase>& cases = mirrorCases());
