#include "platform/data_folder.h"

#include <filesystem>
#include <unistd.h>

#include "platform/private_folder.h"
#include "platform/xdg_dirs.h"

namespace {

bool usablePrivateFolder(const std::string& folder) {
    int fd = openPrivateFolder(folder, true);
    if (fd < 0) return false;
    close(fd);
    return true;
}

} // namespace

std::string privateDataFolder(const std::string& subfolder) {
    const std::string dataHome = xdgDataHome();
    std::error_code ignored;
    std::filesystem::create_directories(dataHome, ignored);
    // Once the program's folder is checked, nobody else can change what
    // lies in it: the subfolder needs no more than its own check.
    std::string folder = dataHome + "/Tevrako";
    if (!usablePrivateFolder(folder)) return {};
    if (subfolder.empty()) return folder;
    folder += "/" + subfolder;
    return usablePrivateFolder(folder) ? folder : std::string();
}
