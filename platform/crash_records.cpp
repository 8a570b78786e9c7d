#include "platform/crash_records.h"

#include "platform/xdg_dirs.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

bool isRecordName(const std::string& name) {
    const std::string prefix = "crash-", suffix = ".record";
    return name.size() > prefix.size() + suffix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
           name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// "signal=<decimal>" and "ip=0x<hex>" lines; false unless the signal is there.
bool parseRecord(const std::string& text, CrashRecord& record) {
    std::istringstream lines(text);
    bool hasSignal = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("signal=", 0) == 0) {
            char* end = nullptr;
            long value = std::strtol(line.c_str() + 7, &end, 10);
            if (end == line.c_str() + 7 || *end || value <= 0 || value > 64) return false;
            record.signal = static_cast<int>(value);
            hasSignal = true;
        } else if (line.rfind("ip=0x", 0) == 0) {
            char* end = nullptr;
            unsigned long long value = std::strtoull(line.c_str() + 5, &end, 16);
            if (end == line.c_str() + 5 || *end) return false;
            record.instruction = static_cast<std::uintptr_t>(value);
        }
    }
    return hasSignal;
}

} // namespace

std::string crashRecordFolder() {
    return xdgDataHome() + "/Tevrako/crashes";
}

std::vector<CrashRecord> takeCrashRecords(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::string name = entry.path().filename().string();
        if (isRecordName(name)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());

    std::vector<CrashRecord> records;
    for (const std::string& name : names) {
        std::string claimed = folder + "/claimed-" + std::to_string(getpid()) + "-" + name;
        if (std::rename((folder + "/" + name).c_str(), claimed.c_str()) != 0) continue;  // taken by another start
        std::ifstream in(claimed, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        in.close();
        std::remove(claimed.c_str());
        CrashRecord record;
        if (parseRecord(text.str(), record)) records.push_back(record);
    }
    return records;
}
