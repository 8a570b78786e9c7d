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

// How long xdg-open is given to fail: it ends at once when no program
// takes the file, but in its generic mode it runs the program itself and
// lasts as long as that program.
constexpr int kOpenerVerdictMs = 3000;

} // namespace

int shellOpen(const char* target) {
    if (!acceptableTarget(target)) return 0;
    return spawnDetached({"xdg-open", target}) ? 1 : 0;
}

int shellOpenChecked(const char* target, std::function<void()> noProgram) {
    if (!acceptableTarget(target)) return 0;
    return spawnWatched({"xdg-open", target}, kOpenerVerdictMs, std::move(noProgram)) ? 1 : 0;
}

int openUrlInBrowser(const char* address) {
    if (!address) return 0;
    std::string text = address;
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
    return shellOpen(text.c_str());
}
