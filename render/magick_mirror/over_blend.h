// ImageMagick's Over of one pixel onto another (magick/composite.c,
// magick/composite-private.h), the one blend every composite, shape mask and
// shape fill of the render computes itself:
//   Sa = 1 - QuantumScale * source opacity, Da = 1 - QuantumScale * target opacity
//   gamma = Sa + Da - Sa * Da
//   opacity = QuantumRange * (1 - RoundToUnity(gamma)), clamped
//   colour = 1 / gamma * (Sa * s + Da * t * (1 - Sa)), clamped
// in doubles, 1 / gamma held to 1 / MagickEpsilon near zero
// (PerceptibleReciprocal). Each value goes through these operations in this
// order: another order rounds differently.
#pragma once

#include "render/magick_mirror/mirrored_magick.h"

// ImageMagick's RoundToUnity: value held to [0, 1].
inline double roundToUnity(double value) { return value < 0.0 ? 0.0 : value > 1.0 ? 1.0 : value; }

// The weights of a source pixel at one opacity laid Over a target pixel at
// another, and the opacity the blend leaves.
struct OverBlend {
    double Sa = 1.0;
    double Da = 1.0;
    double gamma = 1.0;  // the reciprocal of the covered alpha
    Quantum opacity = 0;
};

inline OverBlend overBlend(double sourceOpacity, double targetOpacity) {
    OverBlend blend;
    blend.Sa = 1.0 - QuantumScale * sourceOpacity;
    blend.Da = 1.0 - QuantumScale * targetOpacity;
    double gamma = blend.Sa + blend.Da - blend.Sa * blend.Da;
    blend.opacity = ClampToQuantum(QuantumRange * (1.0 - roundToUnity(gamma)));
    blend.gamma = PerceptibleReciprocal(gamma);
    return blend;
}

// One colour channel of the blend, source value s over target value t,
// before clamping. Real is a double, or a vector of doubles whose lanes are
// channels, each going through the same operations.
template <class Real>
inline Real overChannel(const OverBlend& blend, Real s, Real t) {
    return blend.gamma * (blend.Sa * s + blend.Da * t * (1.0 - blend.Sa));
}
