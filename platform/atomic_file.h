// Replacing a file's whole content so that readers see the old file or the
// new one, never a part: the content goes to a temporary file beside it,
// is flushed to disk and renamed over the target. A temporary is named
// ".<name>.tevrako-XXXXXX" (hidden, the program's marker, six random
// letters and digits), a name no person would choose, so the sweep of
// writes cut short (the process killed) at a later start takes only files
// of ours, never a copy such as "preferences.backup" the user keeps beside
// the target.
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

// For a file another writer fills (the encoder) before it is renamed over
// path: makes an empty temporary beside path, named as above with extension
// after the random part, exclusively and with mode less the umask. A name
// too long for the folder keeps only as much of path's name as fits, cut
// between characters. Returns its path; empty on failure, with errno set.
std::string createTemporaryBeside(const std::string& path, const std::string& extension, mode_t mode);

// Removes from folder the temporaries of writes cut short whose target
// name matches one of targets (shell patterns such as "*.sz") and that end
// with extension: regular files of this user's that have not changed for
// ten minutes, far longer than a write takes, so one that another running
// copy is writing right now stays. Links are never followed, neither the
// folder itself nor a file in it; a missing folder is no error.
void removeStaleAtomicTemporaries(const std::string& folder, std::initializer_list<const char*> targets,
                                  const std::string& extension = "");
