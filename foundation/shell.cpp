#include "foundation/shell.h"

#include "platform/process_spawn.h"

#include <cstring>
#include <string>

namespace {

// Refuses what xdg-open would read as an option, and control characters
// that do not belong in a file name or an address.
bool acceptableTarget(const char* target) {
    if (!target || !*target || *target == '-') return false;
    for (const char* p = target; *p; ++p)
        if (static_cast<unsigned char>(*p) < 0x20 || *p == 0x7F) return false;
    return true;
}

} // namespace

int shellOpen(const char* target) {
    if (!acceptableTarget(target)) return 0;
    return spawnDetached({"xdg-open", target}) ? 1 : 0;
}

int openUrlInBrowser(const char* address) {
    if (!address) return 0;
    std::string text = address;
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
    return shellOpen(text.c_str());
}
