// createShortcut: the desktop shortcut as a freedesktop desktop entry.
#include "foundation/shell.h"

#include "foundation/file_path.h"
#include "platform/atomic_file.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

bool hasLineBreak(const char* text) {
    return std::strpbrk(text, "\r\n") != nullptr;
}

// Escapes of a desktop-entry string value.
std::string entryValue(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\\') out += "\\\\";
        else if (c == '\t') out += "\\t";
        else if (c == ' ' && i == 0) out += "\\s";
        else out += c;
    }
    return out;
}

// One argument of the Exec key: quoted when it holds a reserved character,
// with '"', '`', '$' and '\' escaped inside the quotes; '%' is doubled
// because Exec gives it a meaning of its own.
std::string execArgument(const std::string& argument) {
    static const char reserved[] = " \t\"'\\><~|&;$*?#()`=";
    std::string body;
    for (char c : argument) {
        if (c == '%') body += "%%";
        else if (c == '"' || c == '`' || c == '$' || c == '\\') body += std::string("\\") + c;
        else body += c;
    }
    if (!argument.empty() && argument.find_first_of(reserved) == std::string::npos) return body;
    return "\"" + body + "\"";
}

// Splits a command-line text at blanks; double quotes group blanks.
std::vector<std::string> splitArguments(const char* text) {
    std::vector<std::string> arguments;
    std::string current;
    bool quoted = false, started = false;
    for (const char* p = text; *p; ++p) {
        if (*p == '"') {
            quoted = !quoted;
            started = true;
        } else if (!quoted && (*p == ' ' || *p == '\t')) {
            if (started) arguments.push_back(current);
            current.clear();
            started = false;
        } else {
            current += *p;
            started = true;
        }
    }
    if (started) arguments.push_back(current);
    return arguments;
}

std::string shortcutName(const char* shortcutPath) {
    std::string name = getFileName(shortcutPath);
    std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

std::string desktopEntry(const char* targetPath, const char* arguments, const char* shortcutPath,
                         const char* description, const char* workingFolder, const char* iconFile) {
    std::string exec = execArgument(targetPath);
    for (const std::string& argument : splitArguments(arguments)) exec += " " + execArgument(argument);
    std::string entry = "[Desktop Entry]\nType=Application\nVersion=1.0\n";
    entry += "Name=" + entryValue(shortcutName(shortcutPath)) + "\n";
    if (*description) entry += "Comment=" + entryValue(description) + "\n";
    entry += "Exec=" + entryValue(exec) + "\n";
    if (*workingFolder) entry += "Path=" + entryValue(workingFolder) + "\n";
    if (*iconFile) entry += "Icon=" + entryValue(iconFile) + "\n";
    entry += "Terminal=false\n";
    return entry;
}

} // namespace

int createShortcut(const char* targetPath, const char* arguments, const char* shortcutPath,
                   const char* description, int showCommand, const char* workingFolder,
                   const char* iconFile, int iconIndex) {
    if (!targetPath || !*targetPath || !arguments || !shortcutPath || !*shortcutPath || !description ||
        showCommand < 0 || !workingFolder || !iconFile || iconIndex < 0)
        return SHORTCUT_INVALID_ARGUMENT;
    for (const char* text : {targetPath, arguments, shortcutPath, description, workingFolder, iconFile})
        if (hasLineBreak(text)) return SHORTCUT_INVALID_ARGUMENT;
    std::string entry = desktopEntry(targetPath, arguments, shortcutPath, description, workingFolder, iconFile);
    // Launchers must be executable for desktops to start them.
    return writeFileAtomically(shortcutPath, entry, 0755) ? SHORTCUT_OK : SHORTCUT_WRITE_FAILED;
}
