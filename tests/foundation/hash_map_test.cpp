#include "foundation/hash_map.h"
#include "foundation/heap_alloc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

namespace {

void* key(std::intptr_t value) { return reinterpret_cast<void*>(value); }

std::set<std::string> keyTexts(const HashMap* map) {
    std::set<std::string> texts;
    KeyList* keys = hashmap_keys(map);
    KeyListIterator* it = keylist_iterator(keys);
    while (keylist_has_next(it)) texts.insert(static_cast<const char*>(keylist_next(it)->item));
    std::free(it);
    keylist_free(keys);
    return texts;
}

} // namespace

TEST(HashMap, CapacityAndThresholdFollowPowersOfTwo) {
    HashMap* map = hashmap_new(hash_string, equals_string, 20, 0.5f);
    EXPECT_EQ(map->capacity, 32);
    EXPECT_EQ(map->threshold, 16);
    hashmap_free(map, 0, 0);

    HashMap* tiny = hashmap_new(hash_int, equals_pointer, 0, 1.0f);
    EXPECT_EQ(tiny->capacity, 1);
    EXPECT_EQ(tiny->threshold, 0);
    EXPECT_FLOAT_EQ(tiny->loadFactor, 0.75f);
    hashmap_put(tiny, key(1), key(10));
    EXPECT_EQ(tiny->capacity, 2);
    EXPECT_EQ(hashmap_get(tiny, key(1)), key(10));
    hashmap_free(tiny, 0, 0);

    HashMap* other = hashmap_new(hash_int, equals_pointer, 16, -2.0f);
    EXPECT_FLOAT_EQ(other->loadFactor, 0.75f);
    hashmap_free(other, 0, 0);
}

TEST(HashMap, DefaultMapDoublesAtTwelveAndTwentyFour) {
    HashMap* map = hashmap_new_default(hash_int, equals_pointer);
    for (int i = 0; i < 24; ++i) {
        hashmap_put(map, key(i), key(i + 100));
        if (i == 10) { EXPECT_EQ(map->capacity, 16); }
        if (i == 11) { EXPECT_EQ(map->capacity, 32); }
    }
    EXPECT_EQ(map->capacity, 64);
    for (int i = 0; i < 24; ++i) EXPECT_EQ(hashmap_get(map, key(i)), key(i + 100));
    EXPECT_EQ(map->count, 24);
    hashmap_free(map, 0, 0);
}

TEST(HashMap, PutExistingKeyKeepsFirstKeyAndReturnsOldValue) {
    HashMap* map = hashmap_new_default(hash_string, equals_string);
    char first[] = "host:80", second[] = "host:80";
    EXPECT_EQ(hashmap_put(map, first, key(1)), nullptr);
    EXPECT_EQ(hashmap_put(map, second, key(2)), key(1));
    EXPECT_EQ(map->count, 1);
    KeyList* keys = hashmap_keys(map);
    EXPECT_EQ(keys->next->item, first);
    keylist_free(keys);
    EXPECT_EQ(hashmap_remove(map, "missing"), nullptr);
    EXPECT_EQ(map->count, 1);
    EXPECT_EQ(hashmap_contains_key(map, "host:80"), 1);
    EXPECT_EQ(hashmap_remove(map, "host:80"), key(2));
    EXPECT_EQ(hashmap_contains_key(map, "host:80"), 0);
    EXPECT_EQ(map->count, 0);
    hashmap_free(map, 0, 0);
}

TEST(HashMap, PointerSizedKeysUseEveryBit) {
    // Keys that differ only above bit 31 must stay distinct.
    HashMap* map = hashmap_new_default(hash_pointer, equals_pointer);
    auto low = static_cast<std::intptr_t>(0x12345678);
    std::intptr_t high = low + (static_cast<std::intptr_t>(1) << 40);
    hashmap_put(map, key(low), key(1));
    hashmap_put(map, key(high), key(2));
    EXPECT_EQ(map->count, 2);
    EXPECT_EQ(hashmap_get(map, key(low)), key(1));
    EXPECT_EQ(hashmap_get(map, key(high)), key(2));
    EXPECT_NE(hash_pointer(key(low)), hash_pointer(key(high)));
    hashmap_free(map, 0, 0);

    HashMap* ints = hashmap_new_default(hash_int, equals_int_value);
    hashmap_put(ints, key(-1), key(5));  // a negative int held in the pointer
    EXPECT_EQ(hashmap_get(ints, key(-1)), key(5));
    EXPECT_EQ(hashmap_get(ints, key(0xFFFFFFFF)), nullptr);
    hashmap_free(ints, 0, 0);
    EXPECT_EQ(hash_int(key(5)), hash_mix(5));
}

TEST(HashMap, KnownHashValues) {
    EXPECT_EQ(hash_string("ab"), 3105u);
    EXPECT_EQ(hash_string("\xB0"), static_cast<std::uint32_t>(-80));
    signed char c = -3;
    EXPECT_EQ(hash_char(&c), static_cast<std::uint32_t>(-3));
    unsigned char u = 0xB0;
    EXPECT_EQ(hash_uchar(&u), 0xB0u);
    std::int16_t s = -2;
    EXPECT_EQ(hash_short(&s), static_cast<std::uint32_t>(-2));
    std::int64_t wide = 0x0000000500000003;
    EXPECT_EQ(hash_int64(&wide), 6u);
    double nan = std::nan("1"), otherNan = -std::nan("2");
    EXPECT_EQ(hash_double(&nan), 0x7ff80000u);
    EXPECT_EQ(hash_double(&otherNan), 0x7ff80000u);
    EXPECT_EQ(hash_float_value(-NAN), 0x7fc00000u);
    std::int32_t value = 1234;
    EXPECT_EQ(hash_int_ref(&value), hash_mix(1234));
}

TEST(HashMap, FloatingEqualityByCanonicalBits) {
    double nan1 = std::nan("1"), nan2 = std::nan("7"), zero = 0.0, negZero = -0.0;
    EXPECT_EQ(equals_double(&nan1, &nan2), 1);
    EXPECT_EQ(equals_double(&zero, &negZero), 0);
    float f1 = NAN, f2 = -NAN;
    EXPECT_EQ(equals_float(&f1, &f2), 1);
    std::int32_t a = 3;
    EXPECT_EQ(equals_int(&a, nullptr), 0);
}

TEST(HashMap, KeysValuesAndIteration) {
    HashMap* empty = hashmap_new_default(hash_string, equals_string);
    KeyList* none = hashmap_keys(empty);
    EXPECT_EQ(none->item, nullptr);
    EXPECT_EQ(none->next, nullptr);
    KeyListIterator* it = keylist_iterator(none);
    EXPECT_EQ(keylist_has_next(it), 0);
    std::free(it);
    keylist_free(none);
    keylist_free(nullptr);
    EXPECT_EQ(hashmap_contains_value(empty, "x", equals_string), 0);

    char v1[] = "v1";
    hashmap_put(empty, heapCopy("k1"), heapCopy("v1"));
    hashmap_put(empty, heapCopy("k2"), heapCopy("v2"));
    hashmap_put(empty, heapCopy("k3"), nullptr);
    EXPECT_EQ(keyTexts(empty), (std::set<std::string>{"k1", "k2", "k3"}));
    EXPECT_EQ(hashmap_contains_value(empty, v1, equals_string), 1);
    EXPECT_EQ(hashmap_contains_value(empty, nullptr, equals_string), 1);
    EXPECT_EQ(hashmap_contains_value(empty, "v9", equals_string), 0);
    KeyList* values = hashmap_values(empty);
    int count = 0;
    for (KeyList* node = values->next; node; node = node->next) ++count;
    EXPECT_EQ(count, 3);
    keylist_free(values);

    hashmap_set_capacity(empty, 2, 0.5f);  // never below count
    EXPECT_EQ(empty->capacity, 4);
    EXPECT_EQ(empty->threshold, 2);
    EXPECT_EQ(keyTexts(empty).size(), 3u);
    EXPECT_EQ(hashmap_clear(empty, 1, 1), empty);
    EXPECT_EQ(empty->count, 0);
    EXPECT_EQ(empty->capacity, 4);
    hashmap_free(empty, 1, 1);
}
