// Starting other programs without a shell: the program and each argument
// are separate strings, so nothing in them is ever interpreted.
#pragma once

#include <string>
#include <vector>

// Starts argv[0] (looked up on PATH) with argv, detached from the caller:
// standard input is /dev/null, descriptors above standard error are not
// inherited, and the child is reaped in the background. Returns true when
// the program started.
bool spawnDetached(const std::vector<std::string>& argv);

// Tests replace the launcher to see what would be started; null restores
// the real one. Returns the previous handler.
using SpawnHandler = bool (*)(const std::vector<std::string>& argv);
SpawnHandler setSpawnHandler(SpawnHandler handler);
