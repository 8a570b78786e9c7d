// The render engine: a run's pictures rendered on several workers into one
// frame stream, delivered to a destination strictly in list order.
//
// Why: one picture's frames take one core; the encoder (or the preview's
// player) waits on them while the other cores idle. How: each worker takes
// the next picture, reads and fits it, and renders its effect into a
// buffer of its own; the calling thread hands the buffers' frames to the
// destination picture by picture. A picture's effect starts from the frame
// its predecessor ends on; every effect can tell that frame without drawing
// its transition (final-frame mode), so a worker needs only its
// predecessor's canvas, not its whole render, and the stream is byte for
// byte the one a sequential render writes, at any number of workers.
//
// A costly effect (a zoom draws a few hundred milliseconds a frame at
// 1080 x 1440) would still hold the stream up on one core: where every step
// of an effect is drawn from the picture and the previous frame alone, its
// worker offers the steps to the others (StepHelpers), and a worker with no
// picture to take, or waiting for room in the budget, draws the steps of
// the picture nearest delivery before anything else.
//
// Memory is bounded whatever the list's length: at most about two pictures
// per worker are in flight (fewer at large frame sizes), buffered frames
// share a fixed byte budget, a worker ahead of the one being delivered
// waits when it is spent, and steps drawn ahead of their writing are a few
// per worker.
#pragma once

#include <functional>
#include <string>

#include "render/render_settings.h"

struct RenderRunHooks {
    // Asked before each picture; true ends the run there (Stop).
    std::function<bool()> stopBeforePicture;
    // Asked between frames; true ends the run at once (a closed preview).
    std::function<bool()> abandon;
    // Told, in list order, before picture number n (1-based) is delivered.
    std::function<void(int n)> pictureStarted;
    // A picture's file could no longer be read (its frames show the plain
    // background): told with the error box's text before its frames.
    std::function<void(const std::string& text)> readFailed;
};

enum class RenderOutcome {
    Completed,  // every picture delivered
    Stopped,    // stopBeforePicture or abandon ended the run
    Refused,    // the destination refused a frame
    Failed,     // a frame could not be made (no memory for its pixels): the
                // frames before it were delivered, none after
};

// Renders settings.pictures into destination on `workers` workers (at least
// one) and returns when the run has ended and every worker with it. Runs on
// the calling thread, which makes every destination call and hook call.
RenderOutcome renderFrameStream(const RenderSettings& settings,
                                const FrameDestination& destination,
                                const RenderRunHooks& hooks, int workers);

// Workers for a run on this machine: the processor count, at least 1, or
// the count set below.
int renderWorkerCount();
// Sets the count renderWorkerCount gives (0: the processor count again).
void setRenderWorkerCount(int workers);
