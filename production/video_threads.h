// The threads of a generation and the ways a generation ends.
#pragma once

#include <functional>
#include <string>

// Starts a thread of the current generation; false when the system
// refuses a new thread.
bool startVideoThread(std::function<void()> body);

// Sends an outcome message to the progress window, on the user-interface thread.
void endGeneration(unsigned message);
// Shows an error box on the user-interface thread (owner: the progress window).
void showGenerationError(const std::string& text, const char* caption);
// The generation cannot go on: text is shown as an error and the
// generation ends as failed.
void refuseGeneration(const std::string& text);
// A resource the generation needs is missing: the failure is reported
// under where, shown, and the generation ends as failed.
void failGeneration(const char* where, const std::string& text);
// A thread could not be started: "启动线程失败", and the generation ends as failed.
void failThreadStart();
