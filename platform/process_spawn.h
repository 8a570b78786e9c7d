// Starting other programs without a shell: the program and each argument
// are separate strings, so nothing in them is ever interpreted.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Starts argv[0] (looked up on PATH) with argv, detached from the caller: a
// child process (child_process.h) with its standard streams on /dev/null,
// reaped in the background. Returns true when the program started.
bool spawnDetached(const std::vector<std::string>& argv);

// spawnDetached for an opener whose failure matters to the user (no
// program takes the file): when the program ends with a nonzero status
// within verdictMs, failed() is called on a thread of its own. A program
// still running by then is taken to have done its job. Under a test's
// launcher only a refused start counts.
bool spawnWatched(const std::vector<std::string>& argv, int verdictMs,
                  std::function<void()> failed);

// Tests replace the launcher to see what would be started; null restores
// the real one. Returns the previous handler.
using SpawnHandler = bool (*)(const std::vector<std::string>& argv);
SpawnHandler setSpawnHandler(SpawnHandler handler);
