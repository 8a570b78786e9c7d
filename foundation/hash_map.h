// Chained hash map from untyped keys to untyped values (connection pools,
// cookie jar, effect names, font map). Power-of-two bucket counts, a load
// factor, doubling growth; keys and values are never copied and are freed
// only when clear/free are asked to. No lock inside.
#pragma once

#include "foundation/container_callbacks.h"

#include <cstdint>

struct HashMapNode {
    std::uint32_t hash;  // the key's hash, kept so a rehash needs no callback
    void* key;
    void* value;
    HashMapNode* next;
};

struct HashMap {
    int count;
    int capacity;          // number of buckets, a power of two
    int threshold;         // (int)(capacity x loadFactor)
    float loadFactor;      // strictly between 0 and 1
    HashMapNode* buckets;  // sentinel per bucket; its next heads the chain
    HashFunction hash;
    EqualsFunction equals;
};

// The list made by hashmap_keys/hashmap_values: an empty head node (item
// null) followed by one node per entry, in bucket and chain order.
struct KeyList {
    void* item;
    KeyList* next;
};

// Heap cursor over a KeyList; release it with free().
struct KeyListIterator {
    KeyList* current;
    KeyList* head;
};

HashMap* hashmap_new(HashFunction hash, EqualsFunction equals, int initialCapacity, float loadFactor);
HashMap* hashmap_new_default(HashFunction hash, EqualsFunction equals);
void* hashmap_put(HashMap* map, void* key, void* value);  // returns the old value or null
void* hashmap_get(const HashMap* map, const void* key);
void* hashmap_remove(HashMap* map, const void* key);
int hashmap_contains_key(const HashMap* map, const void* key);
int hashmap_contains_value(const HashMap* map, const void* value, EqualsFunction equals);
void hashmap_set_capacity(HashMap* map, int capacity, float loadFactor);
HashMap* hashmap_clear(HashMap* map, int freeKeys, int freeValues);
void hashmap_free(HashMap* map, int freeKeys, int freeValues);
KeyList* hashmap_keys(const HashMap* map);
KeyList* hashmap_values(const HashMap* map);

void keylist_free(KeyList* list);
KeyListIterator* keylist_iterator(KeyList* list);
int keylist_has_next(const KeyListIterator* iterator);
KeyList* keylist_next(KeyListIterator* iterator);

// Hash callbacks. hash_int and hash_pointer take the key pointer itself as
// the value; its high half is folded into the low half first, so 64-bit
// pointers and sign-extended integers hash on every bit.
std::uint32_t hash_int(const void* key);
std::uint32_t hash_pointer(const void* key);
std::uint32_t hash_int_ref(const void* key);    // pointer to a 32-bit value
std::uint32_t hash_uchar(const void* key);      // pointer to a byte
std::uint32_t hash_char(const void* key);       // pointer to a signed byte
std::uint32_t hash_short(const void* key);      // pointer to a 16-bit value
std::uint32_t hash_int64(const void* key);      // pointer to a 64-bit value
std::uint32_t hash_float_value(float value);
std::uint32_t hash_float(const void* key);      // pointer to a float
std::uint32_t hash_double(const void* key);     // pointer to a double
std::uint32_t hash_string(const void* key);     // h = 31h + c over signed bytes

// The supplemental bit mix applied to integer hashes.
std::uint32_t hash_mix(std::uint32_t h);
