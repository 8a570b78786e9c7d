// A family of effects: one function draws every member, told apart by the
// member (variant) the dispatch table's row gives it, with the row's
// parameters worked out for the frame size.
#pragma once

#include "render/effects/effect_context.h"

// Whole numbers where the family takes ints, or an angle step in degrees.
struct EffectParams {
    double first = 0;
    double second = 0;
    int firstInt() const { return static_cast<int>(first); }
    int secondInt() const { return static_cast<int>(second); }
};

using EffectFamilyFunction = WandPtr (*)(EffectContext& ctx, int variant,
                                         const EffectParams& params);

struct EffectFamily {
    const char* name;  // for benches and messages
    EffectFamilyFunction run;
};

// A member's variant as the table stores it.
template <class Member>
constexpr int variantOf(Member member) {
    return static_cast<int>(member);
}
