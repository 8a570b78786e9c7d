// A private folder under the system temporary directory, removed with all
// it holds when the test ends.
#pragma once

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

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

// Runs call on a thread of its own and gives it until the deadline. A call
// still blocked then on a FIFO below folder, waiting in an open or a read
// for the other end, is set free: each FIFO gets a reader, kept open until
// the call ends, and a writer that closes at once (an end of file). So the
// test fails instead of hanging. true when the call ended in time.
template <typename Call>
bool endsInTime(const TempFolder& folder, Call call, std::chrono::seconds deadline = std::chrono::seconds(20)) {
    std::future<void> done = std::async(std::launch::async, call);
    if (done.wait_for(deadline) == std::future_status::ready) return true;
    std::vector<int> readers;
    while (done.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.path(), ignored)) {
            if (!std::filesystem::is_fifo(entry.symlink_status(ignored))) continue;
            int reader = ::open(entry.path().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            if (reader >= 0) readers.push_back(reader);
            int writer = ::open(entry.path().c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (writer >= 0) ::close(writer);
        }
    }
    for (int reader : readers) ::close(reader);
    return false;
}
