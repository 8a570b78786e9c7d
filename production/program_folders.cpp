#include "production/program_folders.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "foundation/globals.h"
#include "platform/data_folder.h"
#include "platform/private_folder.h"
#include "platform/xdg_dirs.h"

namespace {

namespace fs = std::filesystem;

std::string executableFolder() {
    std::error_code error;
    fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (!error && exe.has_parent_path()) return exe.parent_path().string();
    return fs::current_path(error).string();
}

// A real directory of this user's alone (made so when it is missing or
// only too open) that this user can write to. A folder another user made
// first in a shared directory, or a link, is not used.
bool usableFolder(const std::string& folder) {
    std::error_code error;
    fs::create_directories(fs::path(folder).parent_path(), error);
    return ensureWritablePrivateFolder(folder);
}

bool onDesktop(const std::string& folder) {
    std::string desktop = xdgUserDir("DESKTOP");
    // Without a desktop folder of its own the answer is the home folder,
    // which says nothing about the desktop.
    return !desktop.empty() && desktop != xdgHomeFolder() &&
           folder.find(desktop) != std::string::npos;
}

std::string chooseWorkFolder() {
    if (onDesktop(programFolder)) {
        const char* tmp = std::getenv("TMPDIR");
        std::string folder = std::string(tmp && *tmp == '/' ? tmp : "/tmp") + "/TevrakoVkrmTemp";
        if (usableFolder(folder)) return folder;
    }
    std::string folder = programFolder + "/temp";
    if (usableFolder(folder)) return folder;
    return privateDataFolder("temp");
}

} // namespace

std::string programDataFolder(const char* name) {
    // Beside a program folder others may write too, a folder another
    // account made first (or a link) would let it swap what is kept there.
    if (access(programFolder.c_str(), W_OK | X_OK) == 0) {
        std::string folder = programFolder + "/" + name;
        if (usableFolder(folder)) return folder;
    }
    return privateDataFolder(name);
}

void locateProgramFolders() {
    locateProgramFolder();
    makeWorkFolder();
}

void locateProgramFolder(const std::string& folder) {
    programFolder = folder.empty() ? executableFolder() : folder;
    ffmpegPath = programFolder + "/tool/ffmpeg";
}

void makeWorkFolder() { workFolder = chooseWorkFolder(); }
