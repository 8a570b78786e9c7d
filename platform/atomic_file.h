// Replacing a file's whole content so that readers see the old file or the
// new one, never a part: the content goes to a temporary file beside it,
// is flushed to disk and renamed over the target.
#pragma once

#include <string>
#include <sys/types.h>

// Returns false (and leaves the target as it was) on any failure.
bool writeFileAtomically(const std::string& path, const std::string& content, mode_t mode);
