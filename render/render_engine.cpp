#include "render/render_engine.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/run_memory.h"
#include "render/effects/step_helpers.h"
#include "render/picture_renderer.h"

namespace {

// Images a picture in flight holds at a time, roughly.
constexpr std::size_t kImagesPerPicture = 6;
// Frames the picture being delivered may run ahead of the destination.
constexpr std::size_t kDeliveredAhead = 4;
// How often the delivering thread asks abandon() while it waits.
constexpr auto kAbandonPoll = std::chrono::milliseconds(20);

using Bytes = std::vector<unsigned char, RunAllocator<unsigned char>>;
using SharedWand = std::shared_ptr<MagickWand>;

struct BufferedFrame {
    std::shared_ptr<const Bytes> bytes;  // null for a repeat of the frame before
};

// An effect's steps that any worker may draw (StepHelpers): the picture's
// own worker registers them and writes them in order as they are drawn.
struct StepJob {
    int picture = 0;
    int count = 0;
    const std::function<void(int)>* draw = nullptr;
    int nextStep = 0;   // the next step handed out
    int taken = 0;      // steps the owner has written
    int drawing = 0;    // steps being drawn now
    std::vector<char> drawn;
};

// One picture's place in the run.
struct PictureSlot {
    bool prepared = false;      // read and fitted; readFailure is known
    std::string readFailure;
    bool finalKnown = false;    // finalFrame is set (or the worker gave up)
    SharedWand finalFrame;      // the frame this picture ends on, for the next one
    std::deque<BufferedFrame> frames;
    bool done = false;          // every frame buffered, or the worker gave up
    bool frameFailed = false;   // the worker gave up: a frame could not be made
};

struct Run {
    const RenderSettings& settings;
    int window = 1;             // pictures in flight at most

    std::mutex lock;
    std::condition_variable changed;
    std::vector<PictureSlot> slots;
    int nextPicture = 0;        // the next picture a worker takes
    int head = 0;               // the picture being delivered
    std::size_t bufferedBytes = 0;
    std::vector<StepJob*> jobs;  // effects whose steps other workers may draw
    int stepsAhead = 1;          // steps of a job handed out beyond its owner's next
    int stepsWaiting = 0;        // steps handed out, not yet written, in all jobs
    int finished = 0;            // pictures whose worker has ended
    std::atomic<bool> cancelled{false};  // written under lock; workers also peek between steps

    explicit Run(const RenderSettings& s) : settings(s), slots(s.pictures.size()) {}

    void cancel() {
        std::lock_guard<std::mutex> hold(lock);
        cancelled = true;
        changed.notify_all();
    }
};

// The handle a worker's effect writes its frames through.
struct PictureSink {
    Run* run;
    int index;
};

// Room for a frame of picture index: the picture being delivered keeps a
// few frames ahead of the destination; the others share the budget.
bool roomFor(const Run& run, int index, std::size_t length) {
    if (index == run.head) return run.slots[index].frames.size() < kDeliveredAhead;
    return run.bufferedBytes + length <= run.settings.frameBudgetBytes;
}

// The most urgent step a worker may draw: the next one of the job with the
// lowest picture, within stepsAhead of what its owner has written; with
// onlyPicture set, of that picture's job alone. The owner's next step is
// always handed out, so a job never waits on the drawn steps of others;
// the rest share a bound on what waits unwritten.
StepJob* jobWithAStepToDraw(const Run& run, int onlyPicture = -1) {
    StepJob* urgent = nullptr;
    for (StepJob* job : run.jobs) {
        if (onlyPicture >= 0 && job->picture != onlyPicture) continue;
        int step = job->nextStep;
        bool open = step < job->count && step < job->taken + run.stepsAhead &&
                    (step == job->taken || run.stepsWaiting < 2 * run.stepsAhead);
        if (open && (!urgent || job->picture < urgent->picture)) urgent = job;
    }
    return urgent;
}

// Draws the job's next step with the lock released.
void drawAStep(Run& run, std::unique_lock<std::mutex>& hold, StepJob& job) {
    int step = job.nextStep++;
    ++job.drawing;
    ++run.stepsWaiting;
    hold.unlock();
    (*job.draw)(step);
    hold.lock();
    job.drawn[static_cast<std::size_t>(step)] = 1;
    --job.drawing;
    run.changed.notify_all();
}

// Waits until ready() or the run is cancelled, drawing steps meanwhile. The
// worker of the picture being delivered draws only its own: a step of
// another picture could keep it from its next frame while the destination
// waits.
template <class Ready>
void helpUntil(Run& run, std::unique_lock<std::mutex>& hold, int picture, Ready ready) {
    while (!run.cancelled && !ready()) {
        StepJob* job = jobWithAStepToDraw(run, picture == run.head ? picture : -1);
        if (job) drawAStep(run, hold, *job);
        else run.changed.wait(hold);
    }
}

// The engine's StepHelpers for one picture: every worker that waits draws
// its steps, the most urgent picture's first.
class WorkerStepHelpers final : public StepHelpers {
public:
    WorkerStepHelpers(Run& run, int picture) : run_(run), picture_(picture) {}

    bool drawInOrder(int count, const std::function<void(int)>& draw,
                     const std::function<bool(int)>& take) override {
        StepJob job;
        job.picture = picture_;
        job.count = count;
        job.draw = &draw;
        job.drawn.assign(static_cast<std::size_t>(count), 0);
        std::unique_lock<std::mutex> hold(run_.lock);
        run_.jobs.push_back(&job);
        auto nextIsDrawn = [&] { return job.drawn[static_cast<std::size_t>(job.taken)] != 0; };
        bool accepted = true;
        while (accepted && job.taken < count) {
            helpUntil(run_, hold, picture_, nextIsDrawn);
            if (run_.cancelled) break;
            hold.unlock();
            accepted = take(job.taken);
            hold.lock();
            ++job.taken;
            --run_.stepsWaiting;
            run_.changed.notify_all();
        }
        // No step is handed out any more; those being drawn must end before
        // draw goes out of scope.
        run_.jobs.erase(std::find(run_.jobs.begin(), run_.jobs.end(), &job));
        run_.stepsWaiting -= job.nextStep - job.taken;
        run_.changed.wait(hold, [&] { return job.drawing == 0; });
        return accepted && job.taken == count;
    }

private:
    Run& run_;
    int picture_;
};

int bufferFrame(void* handle, const void* bytes, std::uint32_t length, std::uint32_t* written,
                void*) {
    auto* sink = static_cast<PictureSink*>(handle);
    auto copy = std::make_shared<const Bytes>(static_cast<const unsigned char*>(bytes),
                                              static_cast<const unsigned char*>(bytes) + length);
    Run& run = *sink->run;
    std::unique_lock<std::mutex> hold(run.lock);
    helpUntil(run, hold, sink->index, [&] { return roomFor(run, sink->index, length); });
    if (run.cancelled) return 0;
    run.slots[sink->index].frames.push_back({std::move(copy)});
    run.bufferedBytes += length;
    run.changed.notify_all();
    if (written) *written = length;
    return 1;
}

int bufferRepeat(void* handle) {
    auto* sink = static_cast<PictureSink*>(handle);
    Run& run = *sink->run;
    std::unique_lock<std::mutex> hold(run.lock);
    helpUntil(run, hold, sink->index, [&] { return roomFor(run, sink->index, 0); });
    if (run.cancelled) return 0;
    run.slots[sink->index].frames.push_back({nullptr});
    run.changed.notify_all();
    return 1;
}

WandPtr copyOf(const SharedWand& wand) {
    return wand ? WandPtr(CloneMagickWand(wand.get())) : nullptr;
}

// Renders picture index into its slot: prepares it, takes its
// predecessor's final frame, publishes its own, then renders its frames.
void renderOnePicture(Run& run, int index) {
    const PictureToRender& picture = run.settings.pictures[index];
    PreparedPicture prepared = preparePicture(run.settings, picture);
    SharedWand before;
    {
        std::unique_lock<std::mutex> hold(run.lock);
        PictureSlot& slot = run.slots[index];
        slot.prepared = true;
        slot.readFailure = prepared.readFailure;
        run.changed.notify_all();
        if (index > 0) {
            PictureSlot& previous = run.slots[index - 1];
            run.changed.wait(hold, [&] { return run.cancelled || previous.finalKnown; });
            // Only this picture starts from it.
            before = std::move(previous.finalFrame);
        }
    }
    WandPtr finalFrame;
    if (!run.cancelled) finalFrame = finalFrameOfPicture(run.settings, picture, prepared, copyOf(before));
    {
        std::lock_guard<std::mutex> hold(run.lock);
        PictureSlot& slot = run.slots[index];
        if (finalFrame) slot.finalFrame = SharedWand(finalFrame.release(), DestroyMagickWand);
        slot.finalKnown = true;
        run.changed.notify_all();
    }
    bool frameFailed = false;
    if (!run.cancelled) {
        PictureSink sink{&run, index};
        WorkerStepHelpers helpers(run, index);
        FrameDestination buffer{bufferFrame, bufferRepeat, &sink, &helpers};
        WandPtr ended =
            renderPreparedPicture(run.settings, picture, prepared, copyOf(before), buffer, &frameFailed);
    }
    std::lock_guard<std::mutex> hold(run.lock);
    run.slots[index].frameFailed = frameFailed;
    run.slots[index].done = true;
    ++run.finished;
    run.changed.notify_all();
}

// Takes the next picture while the window has room; draws the steps other
// pictures' workers offer before that (they are nearer delivery) and while
// nothing else is left, until every picture is rendered.
void worker(Run& run) {
    const int count = static_cast<int>(run.slots.size());
    for (;;) {
        int index;
        {
            std::unique_lock<std::mutex> hold(run.lock);
            for (;;) {
                if (run.cancelled || run.finished >= count) return;
                if (StepJob* job = jobWithAStepToDraw(run)) {
                    drawAStep(run, hold, *job);
                    continue;
                }
                if (run.nextPicture < count && run.nextPicture < run.head + run.window) break;
                run.changed.wait(hold);
            }
            index = run.nextPicture++;
        }
        renderOnePicture(run, index);
    }
}

// Waits for the slot to satisfy ready, asking abandon() meanwhile; false
// when the run is cancelled or abandoned.
template <class Ready>
bool waitFor(Run& run, std::unique_lock<std::mutex>& hold, const RenderRunHooks& hooks,
             Ready ready) {
    for (;;) {
        if (run.cancelled) return false;
        if (ready()) return true;
        if (hooks.abandon) {
            run.changed.wait_for(hold, kAbandonPoll);
            hold.unlock();
            bool abandoned = hooks.abandon();
            hold.lock();
            if (abandoned) return false;
        } else {
            run.changed.wait(hold);
        }
    }
}

// Hands picture index's frames to the destination as they come.
RenderOutcome deliverPicture(Run& run, int index, const FrameDestination& destination,
                             const RenderRunHooks& hooks, std::shared_ptr<const Bytes>& last) {
    PictureSlot& slot = run.slots[index];
    std::unique_lock<std::mutex> hold(run.lock);
    if (!waitFor(run, hold, hooks, [&] { return slot.prepared; })) return RenderOutcome::Stopped;
    std::string readFailure = slot.readFailure;
    hold.unlock();
    if (!readFailure.empty() && hooks.readFailed) hooks.readFailed(readFailure);
    hold.lock();
    for (;;) {
        if (!waitFor(run, hold, hooks, [&] { return !slot.frames.empty() || slot.done; }))
            return RenderOutcome::Stopped;
        if (slot.frames.empty()) return slot.frameFailed ? RenderOutcome::Failed : RenderOutcome::Completed;
        BufferedFrame frame = std::move(slot.frames.front());
        slot.frames.pop_front();
        if (frame.bytes) run.bufferedBytes -= frame.bytes->size();
        run.changed.notify_all();
        hold.unlock();
        if (hooks.abandon && hooks.abandon()) return RenderOutcome::Stopped;
        int accepted = 0;
        bool repeat = !frame.bytes;
        if (!repeat) last = std::move(frame.bytes);
        if (repeat && destination.repeat) {
            accepted = last ? destination.repeat(destination.handle) : 0;
        } else if (last && destination.write) {
            std::uint32_t written = 0;
            accepted = destination.write(destination.handle, last->data(),
                                         static_cast<std::uint32_t>(last->size()), &written,
                                         nullptr);
        }
        if (!accepted) return RenderOutcome::Refused;
        hold.lock();
    }
}

// ImageMagick's own threads would multiply with the workers: one each
// while several run.
class ImageThreadsPerWorker {
public:
    explicit ImageThreadsPerWorker(int workers) {
        if (workers < 2) return;
        saved_ = GetMagickResourceLimit(ThreadResource);
        SetMagickResourceLimit(ThreadResource, 1);
    }
    ~ImageThreadsPerWorker() {
        if (saved_) SetMagickResourceLimit(ThreadResource, saved_);
    }
    ImageThreadsPerWorker(const ImageThreadsPerWorker&) = delete;
    ImageThreadsPerWorker& operator=(const ImageThreadsPerWorker&) = delete;

private:
    MagickSizeType saved_ = 0;
};

} // namespace

namespace {
std::atomic<int> chosenWorkers{0};
} // namespace

void setRenderWorkerCount(int workers) { chosenWorkers = workers > 0 ? workers : 0; }

int renderWorkerCount() {
    if (int chosen = chosenWorkers.load(); chosen > 0) return chosen;
    unsigned count = std::thread::hardware_concurrency();
    return count > 0 ? static_cast<int>(count) : 1;
}

RenderOutcome renderFrameStream(const RenderSettings& settings,
                                const FrameDestination& destination,
                                const RenderRunHooks& hooks, int workers) {
    // Declared first, so that it ends after the workers and every buffered
    // frame: what the run freed goes back to the system then.
    RunMemoryScope memory;
    const int count = static_cast<int>(settings.pictures.size());
    workers = std::max(workers, 1);
    Run run(settings);
    std::size_t pictureBytes = static_cast<std::size_t>(std::max(settings.width, 1)) *
                               static_cast<std::size_t>(std::max(settings.height, 1)) *
                               sizeof(PixelPacket) * kImagesPerPicture;
    std::size_t fits = std::max<std::size_t>(settings.pictureBudgetBytes / pictureBytes, 1);
    run.window = static_cast<int>(std::min<std::size_t>(fits, 2 * static_cast<std::size_t>(workers)));
    workers = std::min({workers, run.window, std::max(count, 1)});
    run.stepsAhead = workers;

    ImageThreadsPerWorker imageThreads(workers);
    std::vector<std::thread> threads;
    threads.reserve(workers);
    for (int i = 0; i < workers; ++i) threads.emplace_back(worker, std::ref(run));

    RenderOutcome outcome = RenderOutcome::Completed;
    std::shared_ptr<const Bytes> last;
    for (int index = 0; index < count && outcome == RenderOutcome::Completed; ++index) {
        if (hooks.stopBeforePicture && hooks.stopBeforePicture()) {
            outcome = RenderOutcome::Stopped;
            break;
        }
        {
            std::lock_guard<std::mutex> hold(run.lock);
            run.head = index;
            run.changed.notify_all();
        }
        if (hooks.pictureStarted) hooks.pictureStarted(index + 1);
        outcome = deliverPicture(run, index, destination, hooks, last);
    }
    run.cancel();
    for (std::thread& thread : threads) thread.join();
    return outcome;
}
