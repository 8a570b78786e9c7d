// One preference value per call, with the registry's names: a root, a
// sub-key such as "SOFTWARE\Vessoranthe" and a value name. The values live
// in the typed preference store (platform/preference_store.h). Each call
// returns 1 on success and 0 on any failure; a failed read leaves the
// caller's output untouched.
#pragma once

#include <cstdint>

enum class RegistryRoot { CurrentUser };
inline constexpr RegistryRoot HKEY_CURRENT_USER = RegistryRoot::CurrentUser;

// Reads a text value into buffer. *size holds the buffer's size and
// receives the bytes the value takes with its terminator. Fails when the
// value is missing or not a text, or (with *size set to what it needs) when
// it does not fit; the text read is always terminated.
int read_registry_string(RegistryRoot root, const char* subKey, const char* valueName, char* buffer,
                         unsigned* size);
// Stores the text given by byteCount bytes (callers pass its length plus the
// terminator; the text ends at its first zero byte within them).
int write_registry_string(RegistryRoot root, const char* subKey, const char* valueName, const char* text,
                          unsigned byteCount);

// 32-bit values; a stored value of another type is not read.
int read_registry_dword(RegistryRoot root, const char* subKey, const char* valueName, int* value);
int write_registry_dword(RegistryRoot root, const char* subKey, const char* valueName, std::uint32_t value);

// 64-bit values.
int read_registry_qword(RegistryRoot root, const char* subKey, const char* valueName, std::uint64_t* value);
int write_registry_qword(RegistryRoot root, const char* subKey, const char* valueName, std::uint64_t value);
