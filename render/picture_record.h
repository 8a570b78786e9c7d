// One picture of the video and its caption. pictureList (foundation/globals)
// holds the records in the order of the picture list's rows and owns them;
// the renderer and the encoder pipeline read them in place. Texts are UTF-8;
// their limits are GBK lengths (1 per ASCII character, 2 per other one),
// checked where the texts come in.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "foundation/globals.h"

constexpr int kPathMaxLength = 259;         // path, fileName
constexpr int kEffectNameMaxLength = 31;    // effectName
constexpr int kFontNameMaxLength = 15;      // CaptionRecord::fontName
constexpr int kCaptionTextMaxLength = 127;  // CaptionRecord::text

struct CaptionRecord {
    std::uint32_t mode = 0;   // 0 no caption; 1 and 2 (the Tmall box) render alike
    std::int32_t position = 0;  // caption position combo index, 0 to 8
    std::string fontName;     // a key of fontMap
    COLORREF boxColor = 0;    // equal to textColor: no box
    COLORREF textColor = 0;
    std::string text;         // drawn only when mode is not 0 and text is not empty
};

struct PictureRecord {
    std::string path;         // full path as added
    std::int32_t effectIndex = 0;  // 0-92, 95-98, or 99 = no animation
    std::string effectName;   // display name of the effect
    std::string fileName;     // the part of path after its last separator
    // Allocated with the record, never null, freed with it.
    std::unique_ptr<CaptionRecord> caption = std::make_unique<CaptionRecord>();
};
