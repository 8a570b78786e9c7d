#include "foundation/hash_map.h"

#include "foundation/heap_alloc.h"

#include <bit>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr float kDefaultLoadFactor = 0.75f;

bool validLoadFactor(float loadFactor) {
    return loadFactor > 0.0f && loadFactor < 1.0f;
}

int powerOfTwoAtLeast(int wanted) {
    int capacity = 1;
    while (capacity < wanted) {
        if (capacity > INT_MAX / 2) std::abort();
        capacity <<= 1;
    }
    return capacity;
}

std::uint32_t bucketOf(const HashMap* map, std::uint32_t hash) {
    return hash & static_cast<std::uint32_t>(map->capacity - 1);
}

// The link leading to the node holding key, or to the chain's tail when
// there is none.
HashMapNode** findLink(const HashMap* map, const void* key, std::uint32_t hash) {
    HashMapNode** link = &map->buckets[bucketOf(map, hash)].next;
    for (; *link; link = &(*link)->next)
        if ((*link)->hash == hash && map->equals((*link)->key, key)) break;
    return link;
}

void rehash(HashMap* map, int capacity) {
    HashMapNode* buckets = heapCalloc<HashMapNode>(static_cast<std::size_t>(capacity));
    auto mask = static_cast<std::uint32_t>(capacity - 1);
    for (int b = 0; b < map->capacity; ++b) {
        HashMapNode* node = map->buckets[b].next;
        while (node) {
            HashMapNode* next = node->next;
            HashMapNode** tail = &buckets[node->hash & mask].next;
            while (*tail) tail = &(*tail)->next;
            node->next = nullptr;
            *tail = node;
            node = next;
        }
    }
    std::free(map->buckets);
    map->buckets = buckets;
    map->capacity = capacity;
    map->threshold = static_cast<int>(static_cast<float>(capacity) * map->loadFactor);
}

KeyList* collect(const HashMap* map, bool keys) {
    auto* head = heapCalloc<KeyList>();
    KeyList* tail = head;
    for (int b = 0; map && b < map->capacity; ++b) {
        for (HashMapNode* node = map->buckets[b].next; node; node = node->next) {
            tail->next = heapCalloc<KeyList>();
            tail = tail->next;
            tail->item = keys ? node->key : node->value;
        }
    }
    return head;
}

std::uint32_t foldPointer(const void* key) {
    auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(key));
    return static_cast<std::uint32_t>(bits) ^ static_cast<std::uint32_t>(bits >> 32);
}

template <class T>
T loadValue(const void* key) {
    T value;
    std::memcpy(&value, key, sizeof value);
    return value;
}

std::uint32_t foldHalves(std::uint64_t bits) {
    return static_cast<std::uint32_t>(bits) ^ static_cast<std::uint32_t>(bits >> 32);
}

} // namespace

HashMap* hashmap_new(HashFunction hash, EqualsFunction equals, int initialCapacity, float loadFactor) {
    auto* map = heapCalloc<HashMap>();
    map->capacity = powerOfTwoAtLeast(initialCapacity);
    map->loadFactor = validLoadFactor(loadFactor) ? loadFactor : kDefaultLoadFactor;
    map->threshold = static_cast<int>(map->loadFactor * static_cast<float>(map->capacity));
    map->buckets = heapCalloc<HashMapNode>(static_cast<std::size_t>(map->capacity));
    map->hash = hash;
    map->equals = equals;
    return map;
}

HashMap* hashmap_new_default(HashFunction hash, EqualsFunction equals) {
    return hashmap_new(hash, equals, 16, kDefaultLoadFactor);
}

void* hashmap_put(HashMap* map, void* key, void* value) {
    if (!map) return nullptr;
    std::uint32_t hash = map->hash(key);
    HashMapNode** link = findLink(map, key, hash);
    if (*link) {
        void* old = (*link)->value;
        (*link)->value = value;
        return old;
    }
    auto* node = heapCalloc<HashMapNode>();
    *node = HashMapNode{hash, key, value, nullptr};
    *link = node;
    if (++map->count >= map->threshold) {
        if (map->capacity > INT_MAX / 2) std::abort();
        rehash(map, map->capacity * 2);
    }
    return nullptr;
}

void* hashmap_get(const HashMap* map, const void* key) {
    if (!map) return nullptr;
    HashMapNode* node = *findLink(map, key, map->hash(key));
    return node ? node->value : nullptr;
}

void* hashmap_remove(HashMap* map, const void* key) {
    if (!map) return nullptr;
    HashMapNode** link = findLink(map, key, map->hash(key));
    HashMapNode* node = *link;
    if (!node) return nullptr;
    void* value = node->value;
    *link = node->next;
    std::free(node);
    --map->count;
    return value;
}

int hashmap_contains_key(const HashMap* map, const void* key) {
    return map && *findLink(map, key, map->hash(key)) ? 1 : 0;
}

int hashmap_contains_value(const HashMap* map, const void* value, EqualsFunction equals) {
    if (!map || map->count <= 0) return 0;
    for (int b = 0; b < map->capacity; ++b) {
        for (HashMapNode* node = map->buckets[b].next; node; node = node->next) {
            if (node->value == value) return 1;
            if (value && equals && equals(node->value, value) == 1) return 1;
        }
    }
    return 0;
}

void hashmap_set_capacity(HashMap* map, int capacity, float loadFactor) {
    if (!map) return;
    if (validLoadFactor(loadFactor)) map->loadFactor = loadFactor;
    rehash(map, powerOfTwoAtLeast(capacity > map->count ? capacity : map->count));
}

HashMap* hashmap_clear(HashMap* map, int freeKeys, int freeValues) {
    if (!map) return nullptr;
    for (int b = 0; b < map->capacity; ++b) {
        HashMapNode* node = map->buckets[b].next;
        while (node) {
            HashMapNode* next = node->next;
            if (freeKeys && node->key) std::free(node->key);
            if (freeValues && node->value) std::free(node->value);
            std::free(node);
            node = next;
        }
        map->buckets[b].next = nullptr;
    }
    map->count = 0;
    return map;
}

void hashmap_free(HashMap* map, int freeKeys, int freeValues) {
    if (!map) return;
    hashmap_clear(map, freeKeys, freeValues);
    std::free(map->buckets);
    std::free(map);
}

KeyList* hashmap_keys(const HashMap* map) { return collect(map, true); }
KeyList* hashmap_values(const HashMap* map) { return collect(map, false); }

void keylist_free(KeyList* list) {
    while (list) {
        KeyList* next = list->next;
        std::free(list);
        list = next;
    }
}

KeyListIterator* keylist_iterator(KeyList* list) {
    auto* iterator = heapCalloc<KeyListIterator>();
    iterator->current = list;
    iterator->head = list;
    return iterator;
}

int keylist_has_next(const KeyListIterator* iterator) {
    return iterator && iterator->current && iterator->current->next ? 1 : 0;
}

KeyList* keylist_next(KeyListIterator* iterator) {
    if (!keylist_has_next(iterator)) return nullptr;
    iterator->current = iterator->current->next;
    return iterator->current;
}

std::uint32_t hash_mix(std::uint32_t h) {
    h ^= (h >> 20) ^ (h >> 12);
    return h ^ (h >> 7) ^ (h >> 4);
}

std::uint32_t hash_int(const void* key) { return hash_mix(foldPointer(key)); }
std::uint32_t hash_pointer(const void* key) { return hash_mix(foldPointer(key)); }
std::uint32_t hash_int_ref(const void* key) { return hash_mix(loadValue<std::uint32_t>(key)); }
std::uint32_t hash_uchar(const void* key) { return loadValue<unsigned char>(key); }

std::uint32_t hash_char(const void* key) {
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(loadValue<signed char>(key)));
}

std::uint32_t hash_short(const void* key) {
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(loadValue<std::int16_t>(key)));
}

std::uint32_t hash_int64(const void* key) { return foldHalves(loadValue<std::uint64_t>(key)); }

std::uint32_t hash_float_value(float value) {
    return std::isnan(value) ? 0x7fc00000u : std::bit_cast<std::uint32_t>(value);
}

std::uint32_t hash_float(const void* key) { return hash_float_value(loadValue<float>(key)); }

std::uint32_t hash_double(const void* key) {
    double value = loadValue<double>(key);
    return foldHalves(std::isnan(value) ? 0x7ff8000000000000ull : std::bit_cast<std::uint64_t>(value));
}

std::uint32_t hash_string(const void* key) {
    std::uint32_t h = 0;
    for (const auto* c = static_cast<const signed char*>(key); *c; ++c)
        h = 31u * h + static_cast<std::uint32_t>(static_cast<std::int32_t>(*c));
    return h;
}
