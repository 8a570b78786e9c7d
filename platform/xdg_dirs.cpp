#include "platform/xdg_dirs.h"

#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string absoluteEnv(const char* name) {
    const char* value = std::getenv(name);
    return value && value[0] == '/' ? std::string(value) : std::string();
}

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The quoted value of a user-dirs.dirs line: "$HOME/Desktop" or "/abs",
// with backslash escapes.
std::string parseUserDirValue(const std::string& raw, const std::string& home) {
    std::string value;
    std::size_t open = raw.find('"');
    if (open == std::string::npos) return value;
    for (std::size_t i = open + 1; i < raw.size() && raw[i] != '"'; ++i) {
        if (raw[i] == '\\' && i + 1 < raw.size()) ++i;
        value += raw[i];
    }
    if (value.rfind("$HOME", 0) == 0) return home + value.substr(5);
    return value[0] == '/' ? value : std::string();
}

} // namespace

std::string xdgHomeFolder() {
    std::string home = absoluteEnv("HOME");
    if (!home.empty()) return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return "/";
}

std::string xdgConfigHome() {
    std::string config = absoluteEnv("XDG_CONFIG_HOME");
    return config.empty() ? xdgHomeFolder() + "/.config" : config;
}

std::string xdgDataHome() {
    std::string data = absoluteEnv("XDG_DATA_HOME");
    return data.empty() ? xdgHomeFolder() + "/.local/share" : data;
}

std::string xdgUserDir(const std::string& name) {
    std::string home = xdgHomeFolder();
    std::ifstream file(xdgConfigHome() + "/user-dirs.dirs");
    std::string key = "XDG_" + name + "_DIR=", line, found;
    while (std::getline(file, line)) {
        std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
        found = parseUserDirValue(line.substr(start + key.size()), home);
    }
    while (found.size() > 1 && found.back() == '/') found.pop_back();
    if (!found.empty()) return found;
    if (name == "DESKTOP" && isFolder(home + "/Desktop")) return home + "/Desktop";
    return home;
}
