#include "production/picture_effects.h"

#include <cstdint>
#include <vector>

#include "foundation/globals.h"
#include "foundation/hash_map.h"
#include "foundation/linked_list.h"
#include "foundation/text.h"
#include "production/picture_effect.h"
#include "production/picture_list.h"
#include "render/effects/effect_table.h"
#include "render/picture_record.h"

namespace {

int effectAt(int index) { return pictureAt(index)->effectIndex; }

} // namespace

int drawUnusedEffect(int pictures) {
    bool used[kLastRandomEffect + 1] = {};
    for (int i = 0; i < pictures && i < pictureListSize(); ++i) {
        int effect = effectAt(i);
        if (effect >= 0 && effect <= kLastRandomEffect) used[effect] = true;
    }
    // Drawing only among the free indices gives each of them the same
    // chance that redrawing until a free one comes up would, but always ends.
    std::vector<int> free;
    for (int effect = 0; effect <= kLastRandomEffect; ++effect)
        if (!used[effect]) free.push_back(effect);
    if (free.empty()) return random_range(0, kLastRandomEffect);
    return free[random_range(0, static_cast<int>(free.size()) - 1)];
}

void randomizePictureEffects() {
    for (int i = 0; i < pictureListSize(); ++i) {
        if (i == 0) {
            if (effectAt(0) != kNoAnimation) setPictureEffect(0, kNoAnimation);
            continue;
        }
        setPictureEffect(i, drawUnusedEffect(i));
    }
}

void applyEffectToAll() {
    const PictureRecord* selected = getSelectedPicture();
    if (!selected) return;
    const int effect = selected->effectIndex;
    for (int i = 0; i < pictureListSize(); ++i) {
        if (i == 0) {
            if (effectAt(0) != kNoAnimation) setPictureEffect(0, kNoAnimation);
            continue;
        }
        setPictureEffect(i, effect);
    }
}

int effectIndexByName(const std::string& name) {
    if (!effectNameMap) return kNoAnimation;
    for (int index = 0; index < kEffectTableSize; ++index) {
        void* key = reinterpret_cast<void*>(static_cast<std::intptr_t>(index));
        auto* effect = static_cast<const char*>(hashmap_get(effectNameMap, key));
        if (effect && name == effect) return index;
    }
    return kNoAnimation;
}
