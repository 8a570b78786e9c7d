// A private folder under the system temporary directory, removed with all
// it holds when the test ends.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tevrako-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

    std::string write(const std::string& name, const std::string& content = "x") const {
        std::string full = *this / name;
        std::ofstream(full, std::ios::binary) << content;
        return full;
    }
    std::string folder(const std::string& name) const {
        std::string full = *this / name;
        std::filesystem::create_directories(full);
        return full;
    }

private:
    std::string path_;
};

// The whole content of a file; empty when it cannot be read.
inline std::string readTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
