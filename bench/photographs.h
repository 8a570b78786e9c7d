// Real product-like photographs for the benchmarks: 16 nature photographs
// (grass, leaves, petals, bark: fine detail, costly to encode) from two
// Debian wallpaper packages, written as JPEGs of 1000 to 1600 pixels on
// their long side at quality 90, the size a seller's pictures have.
#pragma once

#include <string>
#include <vector>

#include <wand/MagickWand.h>

#include "render/wand_ptr.h"

constexpr const char* kPhotographPackages =
    "apt-get install mate-backgrounds lomiri-wallpapers-16.04";

inline const std::vector<std::string>& photographSources() {
    static const std::vector<std::string> sources = {
        "/usr/share/backgrounds/mate/nature/Blinds.jpg",
        "/usr/share/backgrounds/mate/nature/Dune.jpg",
        "/usr/share/backgrounds/mate/nature/FreshFlower.jpg",
        "/usr/share/backgrounds/mate/nature/Garden.jpg",
        "/usr/share/backgrounds/mate/nature/GreenMeadow.jpg",
        "/usr/share/backgrounds/mate/nature/LadyBird.jpg",
        "/usr/share/backgrounds/mate/nature/RainDrops.jpg",
        "/usr/share/backgrounds/mate/nature/TwoWings.jpg",
        "/usr/share/backgrounds/mate/nature/Wood.jpg",
        "/usr/share/backgrounds/mate/nature/YellowFlower.jpg",
        "/usr/share/backgrounds/Dragonfly_by_Bolly.jpg",
        "/usr/share/backgrounds/Picture_0B_by_freespace.jpg",
        "/usr/share/backgrounds/aitzgorri_by_Aitzol_Berasategi.jpg",
        "/usr/share/backgrounds/life_by_Aitzol_Berasategi.jpg",
        "/usr/share/backgrounds/picosdeeuropa_by_Aitzol_Berasategi.jpg",
        "/usr/share/backgrounds/seeding_by_Clements_Engelhardt.jpg",
    };
    return sources;
}

// Writes photograph number index (0-15), its long side 1000 + 40 * index
// pixels; false when its package is not installed.
inline bool writePhotograph(const std::string& path, int index) {
    WandPtr wand(NewMagickWand());
    if (MagickReadImage(wand.get(), photographSources()[index].c_str()) != MagickTrue) return false;
    const double longSide = 1000 + 40 * index;
    const double width = static_cast<double>(MagickGetImageWidth(wand.get()));
    const double height = static_cast<double>(MagickGetImageHeight(wand.get()));
    const double scale = longSide / (width > height ? width : height);
    MagickResizeImage(wand.get(), static_cast<size_t>(width * scale + 0.5),
                      static_cast<size_t>(height * scale + 0.5), LanczosFilter, 1.0);
    MagickStripImage(wand.get());
    MagickSetImageCompressionQuality(wand.get(), 90);
    return MagickWriteImage(wand.get(), path.c_str()) == MagickTrue;
}
