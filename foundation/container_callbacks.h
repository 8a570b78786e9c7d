// Callback shapes shared by the containers, and the equality callbacks they
// share. An equality callback is called as equals(stored element or key,
// probe) and returns nonzero for a match.
#pragma once

#include <cstdint>

using EqualsFunction = int (*)(const void* stored, const void* probe);
using HashFunction = std::uint32_t (*)(const void* key);

// Keys held in the pointer itself (an integer cast to a pointer, or any
// pointer): the whole pointer-sized value is compared.
int equals_pointer(const void* a, const void* b);
int equals_int_value(const void* a, const void* b);

// Same pointer, or strcmp equal to 0.
int equals_string(const void* a, const void* b);

// Same pointer; otherwise both non-null and the pointed-to values equal.
int equals_char(const void* a, const void* b);
int equals_uchar(const void* a, const void* b);
int equals_short(const void* a, const void* b);
int equals_int(const void* a, const void* b);
int equals_int64(const void* a, const void* b);

// Same pointer; otherwise equal bit patterns once every NaN is made the
// canonical NaN (NaN equals NaN, +0 differs from -0).
int equals_float(const void* a, const void* b);
int equals_double(const void* a, const void* b);
