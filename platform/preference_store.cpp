#include "platform/preference_store.h"

#include "platform/atomic_file.h"
#include "platform/xdg_dirs.h"

#include <cctype>
#include <charconv>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr char kStoreFile[] = "preferences";
constexpr char kLockFile[] = ".lock";
constexpr char kHeader[] = "# Tevrako preferences: name<TAB>type<TAB>value per line\n";

struct StoredValue {
    std::string name;
    PreferenceValue value;
};

const char* typeName(PreferenceType type) {
    switch (type) {
    case PreferenceType::String: return "sz";
    case PreferenceType::Dword: return "dword";
    case PreferenceType::Qword: return "qword";
    }
    return "sz";
}

bool parseType(const std::string& text, PreferenceType& type) {
    if (text == "sz") type = PreferenceType::String;
    else if (text == "dword") type = PreferenceType::Dword;
    else if (text == "qword") type = PreferenceType::Qword;
    else return false;
    return true;
}

// Tabs, line ends, backslashes and other control bytes are escaped, so every
// value stays on its line whatever it holds.
std::string escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (c == '\\') out += "\\\\";
        else if (c == '\t') out += "\\t";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (byte < 0x20 || byte == 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            out += hex;
        } else out += c;
    }
    return out;
}

bool unescape(const std::string& text, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i >= text.size()) return false;
        switch (text[i]) {
        case '\\': out += '\\'; break;
        case 't': out += '\t'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 'x': {
            if (i + 2 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i + 1])) ||
                !std::isxdigit(static_cast<unsigned char>(text[i + 2])))
                return false;
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
            break;
        }
        default: return false;
        }
    }
    return true;
}

// Decimal digits only: from_chars into an unsigned value takes no sign,
// blank or base prefix, and nothing may follow the digits.
bool parseNumber(const std::string& text, PreferenceType type, std::uint64_t& number) {
    const char* first = text.data();
    const char* last = first + text.size();
    std::uint64_t value = 0;
    auto [end, error] = std::from_chars(first, last, value, 10);
    if (error != std::errc() || end != last) return false;
    if (type == PreferenceType::Dword && value > 0xFFFFFFFFull) return false;
    number = value;
    return true;
}

// One stored line; false for a line that is not a value (comments, damage).
bool parseLine(const std::string& line, StoredValue& stored) {
    if (line.empty() || line[0] == '#') return false;
    std::size_t tab1 = line.find('\t');
    std::size_t tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
    if (tab2 == std::string::npos) return false;
    if (!unescape(line.substr(0, tab1), stored.name) || stored.name.empty()) return false;
    if (!parseType(line.substr(tab1 + 1, tab2 - tab1 - 1), stored.value.type)) return false;
    std::string raw = line.substr(tab2 + 1);
    if (stored.value.type == PreferenceType::String) return unescape(raw, stored.value.text);
    return parseNumber(raw, stored.value.type, stored.value.number);
}

std::vector<StoredValue> loadStore(const std::string& file) {
    std::vector<StoredValue> values;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        // A file edited into CRLF line ends keeps its values.
        if (!line.empty() && line.back() == '\r') line.pop_back();
        StoredValue stored;
        if (!parseLine(line, stored)) continue;
        bool replaced = false;
        for (StoredValue& existing : values)
            if (existing.name == stored.name) existing = stored, replaced = true;
        if (!replaced) values.push_back(stored);
    }
    return values;
}

std::string formatStore(const std::vector<StoredValue>& values) {
    std::string text = kHeader;
    for (const StoredValue& stored : values) {
        text += escape(stored.name) + "\t" + typeName(stored.value.type) + "\t";
        if (stored.value.type == PreferenceType::String) text += escape(stored.value.text);
        else text += std::to_string(stored.value.number);
        text += "\n";
    }
    return text;
}

bool makeFolders(const std::string& folder) {
    for (std::size_t at = 1; at <= folder.size(); ++at) {
        if (at != folder.size() && folder[at] != '/') continue;
        std::string part = folder.substr(0, at);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Holds the store's lock for one read-modify-write.
class StoreLock {
public:
    explicit StoreLock(const std::string& folder)
        : fd_(::open((folder + "/" + kLockFile).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        if (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~StoreLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;
    bool held() const { return fd_ >= 0; }

private:
    int fd_;
};

} // namespace

std::string preferenceFolder(const std::string& key) {
    std::vector<std::string> parts;
    std::string part;
    for (std::size_t i = 0; i <= key.size(); ++i) {
        if (i < key.size() && key[i] != '\\' && key[i] != '/') {
            part += key[i];
            continue;
        }
        if (!part.empty()) parts.push_back(part);
        part.clear();
    }
    if (!parts.empty()) {
        std::string first = parts[0];
        for (char& c : first) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (first == "SOFTWARE") parts.erase(parts.begin());
    }
    if (parts.empty()) return {};
    std::string folder = xdgConfigHome();
    for (const std::string& p : parts) {
        if (p == "." || p == "..") return {};
        folder += "/" + p;
    }
    return folder;
}

bool preferenceRead(const std::string& key, const std::string& name, PreferenceValue& value) {
    std::string folder = preferenceFolder(key);
    if (folder.empty()) return false;
    for (const StoredValue& stored : loadStore(folder + "/" + kStoreFile)) {
        if (stored.name != name) continue;
        value = stored.value;
        return true;
    }
    return false;
}

bool preferenceWrite(const std::string& key, const std::string& name, const PreferenceValue& value) {
    std::string folder = preferenceFolder(key);
    if (folder.empty() || name.empty() || !makeFolders(folder)) return false;
    StoreLock lock(folder);
    if (!lock.held()) return false;
    std::string file = folder + "/" + kStoreFile;
    std::vector<StoredValue> values = loadStore(file);
    StoredValue entry{name, value};
    if (entry.value.type == PreferenceType::Dword) entry.value.number &= 0xFFFFFFFFull;
    bool replaced = false;
    for (StoredValue& stored : values)
        if (stored.name == name) stored = entry, replaced = true;
    if (!replaced) values.push_back(entry);
    return writeFileAtomically(file, formatStore(values), 0600);
}
