#include "platform/data_folder.h"

#include <filesystem>

#include "platform/private_folder.h"
#include "platform/xdg_dirs.h"

std::string privateDataFolder(const std::string& subfolder) {
    const std::string dataHome = xdgDataHome();
    std::error_code ignored;
    std::filesystem::create_directories(dataHome, ignored);
    // Once the program's folder is checked, nobody else can change what
    // lies in it: the subfolder needs no more than its own check.
    std::string folder = dataHome + "/Tevrako";
    if (!ensureWritablePrivateFolder(folder)) return {};
    if (subfolder.empty()) return folder;
    folder += "/" + subfolder;
    return ensureWritablePrivateFolder(folder) ? folder : std::string();
}
