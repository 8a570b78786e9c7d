#include "production/settings_files.h"

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>

#include "foundation/array_list.h"
#include "foundation/charset.h"
#include "foundation/file_path.h"
#include "foundation/globals.h"
#include "platform/atomic_file.h"
#include "platform/message_box.h"
#include "platform/regular_file.h"
#include "production/program_folders.h"

std::string settingsFolder() { return programDataFolder("sz"); }

SettingsRead readSettingsText(const std::string& path, std::string& text) {
    std::string raw;
    RegularFileError failure = RegularFileError::None;
    if (!readRegularFile(path.c_str(), kMaxSettingsFileBytes, raw, FollowLinks::Yes, &failure)) {
        const bool opened = failure == RegularFileError::NotRegular || failure == RegularFileError::TooLarge;
        return opened ? SettingsRead::CannotRead : SettingsRead::CannotOpen;
    }
    if (raw.compare(0, 3, "\xEF\xBB\xBF") == 0) raw.erase(0, 3);
    return utf8_or_gbk_to_utf8(raw, text) ? SettingsRead::Ok : SettingsRead::NotText;
}

int writeSettingsFile(const std::string& path, const std::string& text) {
    AtomicWriteFailure failure = AtomicWriteFailure::None;
    if (writeFileAtomically(path, text, 0644, &failure)) return 1;
    const char* message = failure == AtomicWriteFailure::Create ? "写入文件时出错，文件句柄打开出错" : "写入文件时出错";
    messageBox(hwndMain, message, "错误", MB_OK | MB_ICONERROR);
    return 0;
}

bool stampAccessTime(const std::string& path) {
    const timespec times[2] = {{0, UTIME_NOW}, {0, UTIME_OMIT}};
    return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

void stampSettingsFileUse(const std::string& path) {
    const std::string folder = settingsFolder();
    if (!folder.empty() && path.compare(0, folder.size() + 1, folder + "/") == 0) stampAccessTime(path);
}

std::vector<std::string> recentSettingsFiles(const char* pattern, int count) {
    struct Used {
        std::string name;
        timespec accessed;
    };
    const std::string folder = settingsFolder();
    std::vector<Used> files;
    ArrayList* names = arraylist_new_default();
    listFiles(nullptr, folder.c_str(), pattern, names);
    for (int i = 0; i < names->count; ++i) {
        const char* name = static_cast<const char*>(arraylist_get(names, i));
        struct stat status;
        if (stat((folder + "/" + name).c_str(), &status) == 0 && S_ISREG(status.st_mode))
            files.push_back({name, status.st_atim});
    }
    arraylist_free(names, 1);
    std::stable_sort(files.begin(), files.end(), [](const Used& a, const Used& b) {
        if (a.accessed.tv_sec != b.accessed.tv_sec) return a.accessed.tv_sec > b.accessed.tv_sec;
        return a.accessed.tv_nsec > b.accessed.tv_nsec;
    });
    std::vector<std::string> recent;
    for (int i = 0; i < count && i < static_cast<int>(files.size()); ++i) recent.push_back(files[i].name);
    return recent;
}
