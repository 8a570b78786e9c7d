// The gate before a preview or a video: output size, first picture,
// music-synchronised pause, logo and the marketplace's length rule.
#pragma once

// Seconds a video must stay under.
constexpr float kMaxVideoSeconds = 61.0f;

// 1 when rendering may start. Otherwise a warning box has said why, the
// focus is on the control to fix, and 0 is returned; nothing else changes,
// except that a first picture with an animation is set to "无动画". While
// previewing (frameOutputMode 2) an accepted logo is loaded into
// previewLogoWand and placed; without a logo any previewLogoWand is
// released.
int checkBeforeGenerate();

// Where the logo is laid on a width x height frame for a logo of
// logoWidth x logoHeight at the logo position combo's entry.
void placeLogo(int position, int width, int height, int logoWidth, int logoHeight, int* x, int* y);
