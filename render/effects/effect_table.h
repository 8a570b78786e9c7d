// The dispatch table: effect index -> display name and effect, with each
// effect's parameters worked out from the frame size.
#pragma once

#include "render/effects/effect_context.h"

using EffectFunction = WandPtr (*)(EffectContext& ctx);

struct EffectEntry {
    const char* name;     // display name; null for 93 and 94, which have no effect
    EffectFunction run;   // the effect with its parameters
};

constexpr int kEffectTableSize = 99;  // indices 0 to 98
constexpr int kNoAnimation = 99;      // "无动画"
extern const char* const kNoAnimationName;

extern const EffectEntry effectTable[kEffectTableSize];

// The effect for an index; every index outside the table (negative ones
// included, compared as unsigned) renders as no animation.
EffectFunction effectFor(int index);
// Runs the index's effect on ctx (see EffectContext for what it owns).
WandPtr runEffect(int index, EffectContext& ctx);
