// The caption fonts: display name (the font combo's item) -> font file.
#pragma once

#include <string>
#include <vector>

// Fills fontMap (made on first call) with the six caption fonts in combo
// order and returns their display names. A font that is installed (its
// Windows file name or one of its family names, found through fontconfig)
// maps to its own file; one that is not maps to an installed CJK font of
// the nearest style, so every caption can be drawn.
std::vector<std::string> buildFontMap();

// The font file for a caption's font name: its fontMap entry, else an
// installed CJK font. Empty only when fontconfig knows no font at all
// (ImageMagick then draws with its default font).
std::string captionFontPath(const std::string& fontName);
