#include "production/animation_settings.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "foundation/globals.h"
#include "foundation/linked_list.h"
#include "foundation/text.h"
#include "production/picture_effect.h"
#include "production/settings_files.h"
#include "render/picture_record.h"

namespace {

constexpr int kNoAnimation = 99;

int pictureCount() { return pictureList ? linkedlist_size(pictureList) : 0; }

// The effect a token names: its index, or 99 for a number that names no
// effect (negative, 93, 94, above 98); nothing for a token that is not a
// whole number.
bool effectOfToken(std::string token, int* effect) {
    const char* text = trim(token.data());
    if (!isInteger(text)) return false;
    errno = 0;
    const long value = std::strtol(text, nullptr, 10);
    const bool named = errno == 0 && value >= 0 && value <= 98 && value != 93 && value != 94;
    *effect = named ? static_cast<int>(value) : kNoAnimation;
    return true;
}

} // namespace

std::string buildAnimationSettingsText() {
    std::string text;
    for (int i = 0; i < pictureCount(); ++i) {
        if (i > 0) text += ',';
        text += std::to_string(static_cast<const PictureRecord*>(linkedlist_get(pictureList, i))->effectIndex);
    }
    return text;
}

int saveAnimationSettings(const std::string& path) { return writeSettingsFile(path, buildAnimationSettingsText()); }

void loadAnimationSettings(const std::string& path) {
    std::string text;
    if (readSettingsText(path, text) != SettingsRead::Ok) return;
    std::istringstream tokens(text);
    std::string token;
    for (int i = 0; i < pictureCount() && std::getline(tokens, token, ','); ++i) {
        int effect;
        if (effectOfToken(token, &effect)) setPictureEffect(i, effect);
    }
    stampSettingsFileUse(path);
}
