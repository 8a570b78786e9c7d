#include "render/own_pixel_work.h"

std::atomic<bool> ownPixelWork{true};
