// A whole video generation run from a benchmark: the generate command as the
// main window gives it, its save dialog answered with a file of the
// bench's and its progress window a recorder of the outcome.
#pragma once

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/command_ids.h"
#include "platform/file_dialog.h"
#include "platform/progress_window.h"
#include "production/encoder_pipeline.h"

namespace bench {

inline std::string& generationOutput() {
    static std::string output;
    return output;
}

inline unsigned& generationOutcome() {
    static unsigned outcome = 0;
    return outcome;
}

inline int answerSave(void*, const std::string&, const std::vector<FileFilter>&,
                      const std::string&, std::string& folder, std::string& file) {
    file = generationOutput();
    folder = file.substr(0, file.rfind('/'));
    return 1;
}

inline void progressStart(const std::string&, int, std::atomic<int>*) {}
inline void progressUpdate(int) {}
inline void progressMessage(unsigned message) { generationOutcome() = message; }
inline const ProgressWindowHandler progressRecorder = {progressStart, progressUpdate,
                                                       progressMessage};

// Installs the save answer and the progress recorder; call once.
inline void prepareGeneration() {
    setSaveFileDialogHandler(answerSave);
    setProgressWindowHandler(&progressRecorder);
}

// Generates the picture list's video into output; false when it did not finish.
inline bool runGeneration(const std::string& output) {
    generationOutcome() = 0;
    generationOutput() = output;
    generateVideo();
    waitForVideoThreads();
    if (generationOutcome() == WM_ENCODE_DONE) return true;
    std::fprintf(stderr, "generation did not finish (outcome 0x%x)\n", generationOutcome());
    return false;
}

} // namespace bench
