// Replacing a file's whole content so that readers see the old file or the
// new one, never a part: the content goes to a temporary file beside it
// ("<name>.XXXXXX", six letters and digits), is flushed to disk and renamed
// over the target. A write cut short (the process killed) leaves its
// temporary file behind; a later start clears those away.
#pragma once

#include <initializer_list>
#include <string>
#include <sys/types.h>

enum class AtomicWriteFailure { None, Create, Write };

// Returns false (and leaves the target as it was) on any failure; failure,
// when given, tells whether the file could not be created beside the
// target or not be written and put in its place.
bool writeFileAtomically(const std::string& path, const std::string& content, mode_t mode,
                         AtomicWriteFailure* failure = nullptr);

// Removes from folder the temporary files of writes cut short whose target
// name matches one of targets (shell patterns such as "*.sz"): regular
// files of this user's that have not changed for ten minutes, far longer
// than a write takes, so one that another running copy is writing right
// now stays. Links are never followed, neither the folder itself nor a
// file in it; a missing folder is no error.
void removeStaleAtomicTemporaries(const std::string& folder, std::initializer_list<const char*> targets);
