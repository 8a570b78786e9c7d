// The dispatch table: one row per effect index, as data. A row names the
// effect, its family (one function for all members of a family), the member
// (the family's variant) and how its parameters follow from the frame size.
// Adding an effect is adding a row.
#pragma once

#include "render/effects/effect_family.h"

// How a parameter follows from the output size W x H.
struct EffectParam {
    enum class Kind { None, Constant, WidthOver, HeightOver, WidthTimes };
    Kind kind = Kind::None;
    double value = 0;

    // Constant: value. WidthOver / HeightOver: W / value or H / value, an
    // integer division. WidthTimes: (int)(W * value) in double precision.
    double of(int W, int H) const;
};

constexpr EffectParam constant(double value) { return {EffectParam::Kind::Constant, value}; }
constexpr EffectParam widthOver(int divisor) { return {EffectParam::Kind::WidthOver, double(divisor)}; }
constexpr EffectParam heightOver(int divisor) { return {EffectParam::Kind::HeightOver, double(divisor)}; }
constexpr EffectParam widthTimes(double factor) { return {EffectParam::Kind::WidthTimes, factor}; }

struct EffectEntry {
    const char* name;            // display name; null for 93 and 94, which have no effect
    const EffectFamily* family;  // never null
    int variant = 0;             // the member, one of the family's enum values
    EffectParam first = {};
    EffectParam second = {};

    EffectParams paramsFor(int W, int H) const { return {first.of(W, H), second.of(W, H)}; }
};

constexpr int kEffectTableSize = 99;  // indices 0 to 98
constexpr int kNoAnimation = 99;      // "无动画"
extern const char* const kNoAnimationName;

extern const EffectEntry effectTable[kEffectTableSize];

// The row of an index; every index outside the table (negative ones
// included, compared as unsigned) is the row of no animation.
const EffectEntry& effectEntry(int index);
// Runs the index's effect on ctx (see EffectContext for what it owns).
WandPtr runEffect(int index, EffectContext& ctx);
