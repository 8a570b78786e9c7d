// Effects as schedules: a pure function lists the steps of an effect (a
// width, a level, an angle...), one transition frame per step, the last step
// giving the final frame. Count mode and render mode both walk the same list,
// so the number of frames counted is the number written, and final-frame
// mode draws the schedule's last step alone.
#pragma once

#include <cstddef>
#include <vector>

#include "render/effects/effect_helpers.h"
#include "render/effects/frame_output.h"
#include "render/effects/step_helpers.h"

// Count mode: stores steps.size() + holdFrames. Render mode: draws each step
// with draw(step) -> WandPtr and writes it; the last drawn frame is written,
// held and returned. An empty schedule renders as no animation. The last
// step must not depend on what the steps before it drew: final-frame mode
// draws it alone.
template <class Step, class Draw>
WandPtr renderSchedule(EffectContext& ctx, const std::vector<Step>& steps, Draw&& draw) {
    if (steps.empty()) return effect_none(ctx);
    if (isCountMode(ctx)) return countFrames(ctx, static_cast<int>(steps.size()));
    if (finalFrameOnly(ctx)) return draw(steps.back());
    for (std::size_t i = 0; i + 1 < steps.size(); ++i) {
        WandPtr frame = draw(steps[i]);
        if (!writeFrame(ctx, frame.get())) return nullptr;
    }
    return finishEffect(ctx, draw(steps.back()));
}

// renderSchedule for a schedule whose every step is drawn from the canvas
// and the previous frame alone: draw(stepCtx, step) draws in a context of
// its own (stepContextOf), so with ctx.helpers the steps are drawn and
// encoded on several threads at once while this thread writes them in
// order; the frames are the bytes renderSchedule writes.
template <class Step, class Draw>
WandPtr renderIndependentSteps(EffectContext& ctx, const std::vector<Step>& steps, Draw&& draw) {
    if (!ctx.helpers || isCountMode(ctx) || finalFrameOnly(ctx) || steps.empty())
        return renderSchedule(ctx, steps, [&](const Step& step) { return draw(ctx, step); });
    struct Drawn {
        unsigned char* blob = nullptr;
        std::size_t length = 0;
        WandPtr frame;  // the last step's, which finishEffect writes and holds
    };
    const std::size_t last = steps.size() - 1;
    std::vector<Drawn> drawn(steps.size());
    bool taken = ctx.helpers->drawInOrder(
        static_cast<int>(steps.size()),
        [&](int i) {
            EffectContext own = stepContextOf(ctx);
            Drawn& out = drawn[static_cast<std::size_t>(i)];
            out.frame = draw(own, steps[static_cast<std::size_t>(i)]);
            if (static_cast<std::size_t>(i) == last) return;
            out.blob = encodeFrame(ctx, out.frame.get(), &out.length, encoderContext());
            out.frame.reset();
        },
        [&](int i) {
            Drawn& out = drawn[static_cast<std::size_t>(i)];
            if (static_cast<std::size_t>(i) == last) return true;
            bool accepted = sendFrame(ctx, out.blob, out.length);
            MagickRelinquishMemory(out.blob);
            out.blob = nullptr;
            return accepted;
        });
    for (Drawn& out : drawn)
        if (out.blob) MagickRelinquishMemory(out.blob);
    if (!taken) return nullptr;
    return finishEffect(ctx, std::move(drawn[last].frame));
}

// Families that draw every step on the previous frame in place (what was
// drawn stays) and end on the plain picture. Count mode: steps.size() + 1
// transition frames. Render mode: draw(working, step) for each step on the
// previous frame (black for the first picture), writing it after each; then
// a clone of the canvas is the final frame.
template <class Step, class Draw>
WandPtr renderOnPrevious(EffectContext& ctx, const std::vector<Step>& steps, Draw&& draw) {
    if (isCountMode(ctx)) return countFrames(ctx, static_cast<int>(steps.size()) + 1);
    if (finalFrameOnly(ctx)) return cloneCanvas(ctx);
    MagickWand* working = previousOrBlack(ctx);
    for (const Step& step : steps) {
        draw(working, step);
        if (!writeFrame(ctx, working)) return nullptr;
    }
    return finishEffect(ctx, cloneCanvas(ctx));
}

// Families that lay the previous frame (black for the first picture), or
// pieces of it, over a fresh clone of the new picture on every step, so
// nothing accumulates; a step of 0 is the plain picture. Frames as
// renderSchedule; draw(frame, previous, step) for every other step.
template <class Draw>
WandPtr renderOnPicture(EffectContext& ctx, const std::vector<int>& steps, Draw&& draw) {
    return renderSchedule(ctx, steps, [&](int step) {
        WandPtr frame = cloneCanvas(ctx);
        if (step != 0) draw(frame.get(), previousOrBlack(ctx), step);
        return frame;
    });
}
