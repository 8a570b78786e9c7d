// A preview: the picture list rendered as for a video, into the preview
// frame queue instead of the encoder, and played in the preview window
// while it renders.
//
// Threads: the user-interface thread (startPreview, the preview window and
// the music commands), the render thread (renders into the queue, starts
// and joins the player) and the player thread (preview_player.h). The main
// window stays disabled until both threads have ended, so the list cannot
// change under a render, and a new preview never starts before the last
// one's threads have ended.
#pragma once

#include <memory>

#include "render/render_engine.h"

// The preview command: the checks (unless the window already shows), then
// the render thread and the preview window, which returns when closed.
// 0 when the checks refuse or no thread could be started.
int startPreview();
// startPreview unless a preview runs (previewRunState 1).
int togglePreview();

// The render thread of one preview, over its own settings.
void thread_render_preview(std::shared_ptr<const RenderSettings> settings, int workers);

// True when no preview thread is running.
bool previewThreadsEnded();
// Waits, serving the user-interface thread, until the preview's threads
// have ended, and joins them.
void endPreviewThreads();

// What renders a preview's frames; tests put a scripted source in the
// render engine's place. Null restores the engine.
using PreviewFrameSource = RenderOutcome (*)(const RenderSettings& settings,
                                             const FrameDestination& destination,
                                             const RenderRunHooks& hooks, int workers);
PreviewFrameSource setPreviewFrameSource(PreviewFrameSource source);
