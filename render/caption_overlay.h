// A picture's caption, rendered once before its effect runs and laid over
// its hold frames. Positions are the caption position combo's indices:
// 0-3 flush against the left/right edge (top, bottom), 4 centre bottom,
// 5-8 inset by the margins (left top, left bottom, right top, right bottom).
#pragma once

#include <memory>
#include <string>

#include "foundation/globals.h"
#include "render/wand_ptr.h"

struct CaptionOverlay {
    WandPtr wand;          // current image: the caption; ahead of it the measuring strip
    double x = 0;          // left edge on the frame (effects truncate when compositing)
    double y = 0;          // top edge on the frame
    int transparent = 0;   // 1: box colour equals text colour, so no box is drawn
};

// Renders text in the font file at fontSize points, on a box of boxColor or,
// when boxColor equals textColor, outlined on a transparent ground, and
// places it on a W x H frame by position and margins (a render run passes
// its own copy; the default reads captionMargins). Colours are "#rrggbb".
// tmallMode (caption mode 2) renders exactly like mode 1.
std::unique_ptr<CaptionOverlay> makeCaptionImage(int W, int H, const std::string& text,
                                                 const std::string& boxColor,
                                                 const std::string& textColor,
                                                 const std::string& fontPath, int fontSize,
                                                 int position, bool tmallMode,
                                                 const CaptionMargins& margins = captionMargins);
