// The typed preference store that stands in for the Windows registry. A key
// path such as "SOFTWARE\Vessoranthe" names the folder
// $XDG_CONFIG_HOME/Vessoranthe/ (the leading "SOFTWARE" is dropped); its
// values live in the file "preferences" there, one per line, each with its
// name and its type. Writes replace the file atomically (temporary file and
// rename) under an exclusive lock, so a reader never sees half a file and
// two writers do not lose each other's values.
#pragma once

#include <cstdint>
#include <string>

enum class PreferenceType { String, Dword, Qword };

struct PreferenceValue {
    PreferenceType type = PreferenceType::String;
    std::string text;           // String values
    std::uint64_t number = 0;   // Dword (low 32 bits) and Qword values
};

// The folder that holds a key's values; empty for a key that names none
// (empty, or with "." or ".." parts).
std::string preferenceFolder(const std::string& key);

// False when the key or the value does not exist.
bool preferenceRead(const std::string& key, const std::string& name, PreferenceValue& value);

// Creates the key's folder when needed; false when it cannot be written.
bool preferenceWrite(const std::string& key, const std::string& name, const PreferenceValue& value);
