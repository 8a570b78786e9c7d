// Reveals through parallel bands drawn on the previous frame: the staircase
// starts a band at each fixed interval and grows them all, so their leading
// ends step across the frame; the blinds grow every slat together.
#include "render/effects/staircase_blinds.h"

#include <algorithm>

#include "render/effects/effect_schedule.h"

namespace {

// Band from its slot's leading edge `at` over `length`, per direction.
using BandRow = RectangleShape (*)(double W, double H, double at, double length);
const BandRow kStaircaseBands[] = {
    [](double, double H, double at, double length) {
        return RectangleShape{at, 0, at + length, H};
    },
    [](double W, double H, double at, double length) {
        return RectangleShape{W - at, 0, W - at - length, H};
    },
    [](double W, double, double at, double length) {
        return RectangleShape{0, at, W, at + length};
    },
    [](double W, double H, double at, double length) {
        return RectangleShape{0, H - at, W, H - at - length};
    },
};

const BandRow kBlindsSlats[] = {
    [](double, double H, double at, double length) {
        return RectangleShape{at, 0, at + length, H};
    },
    [](double W, double, double at, double length) {
        return RectangleShape{0, at, W, at + length};
    },
};

void fillRectangles(MagickWand* target, MagickWand* source,
                    const std::vector<RectangleShape>& rectangles) {
    fillShape(target, source, Shape(rectangles.begin(), rectangles.end()));
}

WandPtr staircase(EffectContext& ctx, Direction direction, int bands) {
    StaircaseGeometry geometry = staircaseGeometry(direction, ctx.W, ctx.H, bands);
    return renderOnPrevious(ctx, stepMultiples(geometry.frames, 1), [&](MagickWand* working, int k) {
        fillRectangles(working, ctx.canvas,
                       staircaseRectangles(direction, ctx.W, ctx.H, geometry, k));
    });
}

WandPtr blinds(EffectContext& ctx, bool vertical, int slats) {
    return renderOnPrevious(ctx, stepMultiples(kBlindsFrames, 1), [&](MagickWand* working, int k) {
        fillRectangles(working, ctx.canvas, blindsRectangles(vertical, ctx.W, ctx.H, slats, k));
    });
}

} // namespace

StaircaseGeometry staircaseGeometry(Direction direction, int W, int H, int bands) {
    int n = std::max(bands, 1);
    StaircaseGeometry geometry;
    geometry.band = static_cast<double>(isVertical(direction) ? std::max(W, H) : W) / n;
    geometry.growth = 3.0f * geometry.band / n;
    geometry.frames = static_cast<int>(n + geometry.band / geometry.growth);
    return geometry;
}

std::vector<RectangleShape> staircaseRectangles(Direction direction, int W, int H,
                                                  const StaircaseGeometry& geometry, int k) {
    std::vector<RectangleShape> rectangles;
    for (int i = 0; i < k; ++i)
        rectangles.push_back(kStaircaseBands[static_cast<int>(direction)](
            W, H, i * geometry.band, (k - i) * geometry.growth));
    return rectangles;
}

std::vector<RectangleShape> blindsRectangles(bool vertical, int W, int H, int slats, int k) {
    int n = std::max(slats, 1);
    double slat = static_cast<double>(vertical ? H : W) / n;
    std::vector<RectangleShape> rectangles;
    for (int j = 0; j < n; ++j)
        rectangles.push_back(kBlindsSlats[vertical](W, H, j * slat, k * (slat / 18.0)));
    return rectangles;
}

WandPtr effect_staircase(EffectContext& ctx, int direction, const EffectParams& params) {
    return staircase(ctx, static_cast<Direction>(direction), params.firstInt());
}

WandPtr effect_blinds(EffectContext& ctx, int member, const EffectParams& params) {
    return blinds(ctx, static_cast<BlindsMember>(member) == BlindsMember::TopToBottom,
                  params.firstInt());
}
