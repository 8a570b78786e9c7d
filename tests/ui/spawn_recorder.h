// Records the programs a test would start, in place of the real launcher,
// and reports each as started. The launcher is put back when it goes.
#pragma once

#include <string>
#include <vector>

#include "platform/process_spawn.h"

class SpawnRecorder {
public:
    SpawnRecorder() {
        instance() = this;
        previous_ = setSpawnHandler(record);
    }
    ~SpawnRecorder() {
        setSpawnHandler(previous_);
        instance() = nullptr;
    }
    SpawnRecorder(const SpawnRecorder&) = delete;
    SpawnRecorder& operator=(const SpawnRecorder&) = delete;

    std::vector<std::vector<std::string>> spawned;

private:
    static SpawnRecorder*& instance() {
        static SpawnRecorder* current = nullptr;
        return current;
    }
    static bool record(const std::vector<std::string>& argv) {
        instance()->spawned.push_back(argv);
        return true;
    }
    SpawnHandler previous_;
};
