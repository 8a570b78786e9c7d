#include "foundation/container_callbacks.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace {

template <class T>
int equalValues(const void* a, const void* b) {
    if (a == b) return 1;
    if (!a || !b) return 0;
    T x, y;
    std::memcpy(&x, a, sizeof x);
    std::memcpy(&y, b, sizeof y);
    return x == y;
}

std::uint32_t canonicalBits(float value) {
    return std::isnan(value) ? 0x7fc00000u : std::bit_cast<std::uint32_t>(value);
}

std::uint64_t canonicalBits(double value) {
    return std::isnan(value) ? 0x7ff8000000000000ull : std::bit_cast<std::uint64_t>(value);
}

template <class T>
int equalBitPatterns(const void* a, const void* b) {
    if (a == b) return 1;
    if (!a || !b) return 0;
    T x, y;
    std::memcpy(&x, a, sizeof x);
    std::memcpy(&y, b, sizeof y);
    return canonicalBits(x) == canonicalBits(y);
}

} // namespace

int equals_pointer(const void* a, const void* b) { return a == b; }
int equals_int_value(const void* a, const void* b) { return a == b; }

int equals_string(const void* a, const void* b) {
    if (a == b) return 1;
    if (!a || !b) return 0;
    return std::strcmp(static_cast<const char*>(a), static_cast<const char*>(b)) == 0;
}

int equals_char(const void* a, const void* b) { return equalValues<char>(a, b); }
int equals_uchar(const void* a, const void* b) { return equalValues<unsigned char>(a, b); }
int equals_short(const void* a, const void* b) { return equalValues<std::int16_t>(a, b); }
int equals_int(const void* a, const void* b) { return equalValues<std::int32_t>(a, b); }
int equals_int64(const void* a, const void* b) { return equalValues<std::int64_t>(a, b); }
int equals_float(const void* a, const void* b) { return equalBitPatterns<float>(a, b); }
int equals_double(const void* a, const void* b) { return equalBitPatterns<double>(a, b); }
