#include "render/color_to_hex.h"

#include <cstdio>

std::string colorToHex(COLORREF color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", color & 0xFFu, (color >> 8) & 0xFFu,
                  (color >> 16) & 0xFFu);
    return text;
}
