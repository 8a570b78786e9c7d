// The output sizes of the size combo, by its index: index 0 is the empty
// entry ("no size chosen", standing for 400 x 400), 1 to 13 the presets;
// the combo's last item ("自定义...") has none.
#pragma once

constexpr int kVideoSizePresets = 14;
constexpr int videoSizePresetWidths[kVideoSizePresets] = {400, 400, 480, 540, 640, 720, 720,
                                                          750, 750, 800, 800, 1024, 1280, 1080};
constexpr int videoSizePresetHeights[kVideoSizePresets] = {400, 400, 480, 720, 640, 720, 960,
                                                           750, 1000, 450, 800, 576, 720, 1440};

// A custom size is even, 256 to 3840 wide and 256 to 2160 high.
constexpr int kMinVideoSide = 256;
constexpr int kMaxVideoHeight = 2160;
