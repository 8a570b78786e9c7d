// Turns one picture of the list into frames: its canvas and caption, then
// its transition effect through the dispatch table.
#pragma once

#include <wand/MagickWand.h>

#include "render/picture_record.h"

// Renders picture after previous (its predecessor's final frame, or null for
// the first picture; ownership passes to the effect) and returns this
// picture's final frame, the caller's. With outFrames set it only counts:
// nothing is read or drawn, previous stays the caller's, and the result is
// null. Null also after a refused frame write.
MagickWand* renderPicture(const PictureRecord* picture, MagickWand* previous, int* outFrames);

// The display name of an effect index, "无动画" for an index without one.
const char* getEffectName(int index);
// Fills effectNameMap with the 97 effect names (made on first call).
void buildEffectNameMap();
