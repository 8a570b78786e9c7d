#include "render/magick_mirror/own_pixel_work.h"

std::atomic<bool> ownPixelWork{true};
