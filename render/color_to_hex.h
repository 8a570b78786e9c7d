#pragma once

#include <string>

#include "foundation/globals.h"

// The ImageMagick colour text of a COLORREF: "#rrggbb" in lower case.
std::string colorToHex(COLORREF color);
