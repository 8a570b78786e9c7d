// Effects given to many pictures at once: the random choice for a new
// picture, a new random set for the whole list, one effect for all.
#pragma once

#include <string>

// The highest effect index a random choice gives: random effects come from
// 0 to 92; the four door effects (95 to 98) are only chosen by hand.
constexpr int kLastRandomEffect = 92;

// A random effect index from 0 to kLastRandomEffect that none of the first
// `pictures` records of pictureList has; when every index is taken, any
// index of that range. Always ends.
int drawUnusedEffect(int pictures);

// Picture 0 gets "无动画", every later one a random effect that no picture
// before it has (the random-effects command).
void randomizePictureEffects();

// Picture 0 gets "无动画", every later one the selected picture's effect.
void applyEffectToAll();

// The effect index whose display name is name (exact comparison); 99 ("无动画")
// when no effect has that name.
int effectIndexByName(const std::string& name);
