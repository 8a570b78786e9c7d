// The two zooms scale the new picture about its centre while the previous
// frame fades away over it; the cross-fade blends the previous frame out.
#include "render/effects/zoom_fade.h"

#include "render/effects/effect_helpers.h"
#include "render/effects/effect_schedule.h"
#include "render/image.h"

std::vector<ZoomStep> zoomSchedule(int c, int d, bool shrink) {
    std::vector<ZoomStep> steps;
    if (c < 0) return steps;
    if (d % 2 != 0) d += 1;
    float level = 10.0f;
    for (int i = 0; i <= c; ++i) {
        int k = shrink ? c - i : i;
        level -= 1.5f;
        long double opacity = level * 0.1L;
        steps.push_back({k * d, opacity > 0.1L ? static_cast<double>(opacity) : 0.0});
    }
    return steps;
}

std::vector<int> fadeLevels(int s) {
    if (s < 1 || s > 20) s = 6;
    std::vector<int> levels;
    for (int level = 100 - s;; level = level - s < 0 ? 0 : level - s) {
        levels.push_back(level);
        if (level == 0) break;
    }
    return levels;
}

namespace {

WandPtr zoom(EffectContext& ctx, int steps, int stepWidth, bool shrink) {
    // No black stand-in here: a first picture zooms without an overlay.
    return renderIndependentSteps(ctx, zoomSchedule(steps, stepWidth, shrink),
                                  [](EffectContext& own, const ZoomStep& step) {
        WandPtr frame(zoomOnWhiteCanvas(own.W, own.H, own.canvas, step.delta));
        if (own.previous && step.previousOpacity > 0) {
            setOpacity(own.previous.get(), step.previousOpacity);
            compositeOver(frame.get(), own.previous.get(), 0, 0);
        }
        return frame;
    });
}

} // namespace

WandPtr effect_zoom(EffectContext& ctx, int member, const EffectParams& params) {
    return zoom(ctx, params.firstInt(), params.secondInt(),
                static_cast<ZoomMember>(member) == ZoomMember::Shrink);
}

WandPtr effect_fade(EffectContext& ctx, int, const EffectParams& params) {
    return renderIndependentSteps(ctx, fadeLevels(params.firstInt()), [](EffectContext& own, int level) {
        WandPtr frame = cloneCanvas(own);
        if (level / 100.0 > 0.01) {
            MagickWand* previous = previousOrBlack(own);
            setOpacity(previous, level / 100.0);
            compositeOver(frame.get(), previous, 0, 0);
        }
        return frame;
    });
}
