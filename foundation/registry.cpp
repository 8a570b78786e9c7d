#include "foundation/registry.h"

#include "platform/preference_store.h"

#include <cstring>

namespace {

bool validNames(RegistryRoot root, const char* subKey, const char* valueName) {
    return root == RegistryRoot::CurrentUser && subKey && valueName && *valueName;
}

bool readTyped(RegistryRoot root, const char* subKey, const char* valueName, PreferenceType type,
               PreferenceValue& value) {
    return validNames(root, subKey, valueName) && preferenceRead(subKey, valueName, value) &&
           value.type == type;
}

int writeTyped(RegistryRoot root, const char* subKey, const char* valueName, const PreferenceValue& value) {
    if (!validNames(root, subKey, valueName)) return 0;
    return preferenceWrite(subKey, valueName, value) ? 1 : 0;
}

int writeNumber(RegistryRoot root, const char* subKey, const char* valueName, PreferenceType type,
                std::uint64_t number) {
    PreferenceValue value;
    value.type = type;
    value.number = number;
    return writeTyped(root, subKey, valueName, value);
}

} // namespace

int read_registry_string(RegistryRoot root, const char* subKey, const char* valueName, char* buffer,
                         unsigned* size) {
    PreferenceValue value;
    if (!buffer || !size || !readTyped(root, subKey, valueName, PreferenceType::String, value)) return 0;
    std::size_t needed = std::strlen(value.text.c_str()) + 1;
    if (needed > *size) {
        *size = static_cast<unsigned>(needed);
        return 0;
    }
    std::memcpy(buffer, value.text.c_str(), needed);
    *size = static_cast<unsigned>(needed);
    return 1;
}

int write_registry_string(RegistryRoot root, const char* subKey, const char* valueName, const char* text,
                          unsigned byteCount) {
    if (!text) return 0;
    PreferenceValue value;
    value.type = PreferenceType::String;
    value.text.assign(text, strnlen(text, byteCount));
    return writeTyped(root, subKey, valueName, value);
}

int read_registry_dword(RegistryRoot root, const char* subKey, const char* valueName, int* value) {
    PreferenceValue stored;
    if (!value || !readTyped(root, subKey, valueName, PreferenceType::Dword, stored)) return 0;
    *value = static_cast<int>(static_cast<std::uint32_t>(stored.number));
    return 1;
}

int write_registry_dword(RegistryRoot root, const char* subKey, const char* valueName, std::uint32_t value) {
    return writeNumber(root, subKey, valueName, PreferenceType::Dword, value);
}

int read_registry_qword(RegistryRoot root, const char* subKey, const char* valueName, std::uint64_t* value) {
    PreferenceValue stored;
    if (!value || !readTyped(root, subKey, valueName, PreferenceType::Qword, stored)) return 0;
    *value = stored.number;
    return 1;
}

int write_registry_qword(RegistryRoot root, const char* subKey, const char* valueName, std::uint64_t value) {
    return writeNumber(root, subKey, valueName, PreferenceType::Qword, value);
}
