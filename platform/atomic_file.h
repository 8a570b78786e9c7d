// Replacing a file's whole content so that readers see the old file or the
// new one, never a part: the content goes to a temporary file beside it,
// is flushed to disk and renamed over the target.
#pragma once

#include <string>
#include <sys/types.h>

enum class AtomicWriteFailure { None, Create, Write };

// Returns false (and leaves the target as it was) on any failure; failure,
// when given, tells whether the file could not be created beside the
// target or not be written and put in its place.
bool writeFileAtomically(const std::string& path, const std::string& content, mode_t mode,
                         AtomicWriteFailure* failure = nullptr);
