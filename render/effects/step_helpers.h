// Threads that may draw an effect's steps beside the thread rendering it.
//
// An effect whose every step is drawn from the picture and the previous
// frame alone (not from what the steps before it drew) can have its steps
// drawn at once on several threads; its frames are still written in order
// on the thread that renders it, so the stream is the same bytes.
#pragma once

#include <functional>

class StepHelpers {
public:
    virtual ~StepHelpers() = default;

    // Calls draw(i) for every step i in [0, count), on this thread or on a
    // helping one, and take(i) on this thread, in order, each once draw(i)
    // has returned. Stops after a take that returns false or when the run
    // ends, and returns only once no draw is still running; true when every
    // step was taken and accepted.
    virtual bool drawInOrder(int count, const std::function<void(int)>& draw,
                             const std::function<bool(int)>& take) = 0;
};
