#include "platform/crash_records.h"

#include "platform/data_folder.h"
#include "platform/private_folder.h"
#include "platform/regular_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
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

// The text of the record name in the folder folderFd when it is one the
// handler could have written: this user's regular file of a record's
// size at most. No link is followed and nothing blocks.
bool readRecordAt(int folderFd, const std::string& name, std::string& text) {
    struct stat info {};
    if (fstatat(folderFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 || info.st_uid != geteuid()) return false;
    return readRegularFileAt(folderFd, name.c_str(), kCrashRecordMaxBytes, text, FollowLinks::No);
}

} // namespace

std::string crashRecordFolder() {
    return privateDataFolder("crashes");
}

std::vector<CrashRecord> takeCrashRecords(const std::string& folder) {
    std::vector<CrashRecord> records;
    // Records come only from a folder the handler would write to: one that
    // another account can fill holds no crash of this user's.
    int folderFd = openPrivateFolder(folder, false);
    if (folderFd < 0) return records;
    std::vector<std::string> names;
    for (std::string& name : folderEntriesAt(folderFd))
        if (isRecordName(name)) names.push_back(std::move(name));
    std::sort(names.begin(), names.end());

    for (const std::string& name : names) {
        const std::string claimed = "claimed-" + std::to_string(getpid()) + "-" + name;
        if (renameat(folderFd, name.c_str(), folderFd, claimed.c_str()) != 0) continue;  // taken by another start
        std::string text;
        const bool read = readRecordAt(folderFd, claimed, text);
        unlinkat(folderFd, claimed.c_str(), 0);
        CrashRecord record;
        if (read && parseRecord(text, record)) records.push_back(record);
    }
    close(folderFd);
    return records;
}
