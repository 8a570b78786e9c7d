// Heap blocks handed across the C-style interfaces of the library.
// Callers release them with free(), so they come from malloc; running out of
// memory is not something any caller can recover from, so it aborts.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>

// Zeroed block of count objects of T (plain records only).
template <class T>
T* heapCalloc(std::size_t count = 1) {
    void* block = std::calloc(count ? count : 1, sizeof(T));
    if (!block) std::abort();
    return static_cast<T*>(block);
}

// Heap copy of the first length bytes of text, terminated.
inline char* heapCopyBytes(const char* text, std::size_t length) {
    char* copy = heapCalloc<char>(length + 1);
    if (length) std::memcpy(copy, text, length);
    return copy;
}

// Heap copy of a terminated text.
inline char* heapCopy(const char* text) {
    return heapCopyBytes(text, std::strlen(text));
}
