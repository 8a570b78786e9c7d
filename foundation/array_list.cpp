#include "foundation/array_list.h"

#include "foundation/heap_alloc.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kDefaultSize = 10;

void reallocateItems(ArrayList* list, int capacity) {
    void** items = heapCalloc<void*>(static_cast<std::size_t>(capacity));
    if (list->count > 0)
        std::memcpy(items, list->items, sizeof(void*) * static_cast<std::size_t>(list->count));
    std::free(list->items);
    list->items = items;
    list->capacity = capacity;
}

void growWhenFull(ArrayList* list) {
    if (list->count < list->capacity) return;
    if (list->capacity > INT_MAX - list->increment) std::abort();
    reallocateItems(list, list->capacity + list->increment);
}

bool inRange(const ArrayList* list, int index) {
    return list && index >= 0 && index < list->count;
}

// Moves the elements after index down one slot and clears the vacated one.
void closeGap(ArrayList* list, int index) {
    for (int i = index; i < list->count - 1; ++i) list->items[i] = list->items[i + 1];
    list->items[list->count - 1] = nullptr;
    --list->count;
}

} // namespace

ArrayList* arraylist_new(int capacity, int increment) {
    auto* list = heapCalloc<ArrayList>();
    list->capacity = capacity > 0 ? capacity : kDefaultSize;
    list->increment = increment > 0 ? increment : kDefaultSize;
    list->items = heapCalloc<void*>(static_cast<std::size_t>(list->capacity));
    return list;
}

ArrayList* arraylist_new_default() {
    return arraylist_new(kDefaultSize, kDefaultSize);
}

void arraylist_set_capacity(ArrayList* list, int capacity, int increment) {
    if (!list) return;
    if (capacity < kDefaultSize) capacity = kDefaultSize;
    if (increment < kDefaultSize) increment = kDefaultSize;
    list->increment = increment;
    if (list->count < capacity) reallocateItems(list, capacity);
}

int arraylist_add(ArrayList* list, void* element) {
    if (!list) return 0;
    growWhenFull(list);
    list->items[list->count++] = element;
    return list->count;
}

int arraylist_insert(ArrayList* list, int index, void* element) {
    if (!list) return 0;
    if (index < 0) index = 0;
    if (index >= list->count) {
        arraylist_add(list, element);
        return 1;
    }
    growWhenFull(list);
    for (int i = list->count; i > index; --i) list->items[i] = list->items[i - 1];
    list->items[index] = element;
    ++list->count;
    return 1;
}

int arraylist_index_of(const ArrayList* list, const void* probe, EqualsFunction equals) {
    if (!list || !equals) return -1;
    for (int i = 0; i < list->count; ++i)
        if (equals(list->items[i], probe)) return i;
    return -1;
}

int arraylist_last_index_of(const ArrayList* list, const void* probe, EqualsFunction equals) {
    if (!list || !equals) return -1;
    for (int i = list->count - 1; i >= 0; --i)
        if (equals(list->items[i], probe)) return i;
    return -1;
}

int arraylist_contains(const ArrayList* list, const void* probe, EqualsFunction equals) {
    return arraylist_index_of(list, probe, equals) >= 0 ? 1 : 0;
}

int arraylist_remove_match(ArrayList* list, const void* probe, EqualsFunction equals) {
    int index = arraylist_index_of(list, probe, equals);
    if (index < 0) return 0;
    closeGap(list, index);
    return 1;
}

void* arraylist_remove_at(ArrayList* list, int index) {
    if (!inRange(list, index)) return nullptr;
    void* element = list->items[index];
    closeGap(list, index);
    return element;
}

void* arraylist_set(ArrayList* list, int index, void* element) {
    if (!inRange(list, index)) return nullptr;
    void* old = list->items[index];
    list->items[index] = element;
    return old;
}

void* arraylist_get(const ArrayList* list, int index) {
    return inRange(list, index) ? list->items[index] : nullptr;
}

void arraylist_clear(ArrayList* list, int freeElements) {
    if (!list) return;
    for (int i = 0; i < list->count; ++i) {
        if (freeElements && list->items[i]) std::free(list->items[i]);
        list->items[i] = nullptr;
    }
    list->count = 0;
}

void arraylist_free(ArrayList* list, int freeElements) {
    if (!list) return;
    arraylist_clear(list, freeElements);
    std::free(list->items);
    std::free(list);
}

// Floating-point equality here is the value test (NaN matches only itself by
// pointer), unlike the hash map's bit-pattern test.
template <class T>
static int equalFloating(const void* element, const void* probe) {
    if (element == probe) return 1;
    if (!element || !probe) return 0;
    return *static_cast<const T*>(element) == *static_cast<const T*>(probe);
}

int arraylist_equals_string(const void* element, const void* probe) { return equals_string(element, probe); }
int arraylist_equals_char(const void* element, const void* probe) { return equals_char(element, probe); }
int arraylist_equals_uchar(const void* element, const void* probe) { return equals_uchar(element, probe); }
int arraylist_equals_short(const void* element, const void* probe) { return equals_short(element, probe); }
int arraylist_equals_int(const void* element, const void* probe) { return equals_int(element, probe); }
int arraylist_equals_int64(const void* element, const void* probe) { return equals_int64(element, probe); }
int arraylist_equals_float(const void* element, const void* probe) { return equalFloating<float>(element, probe); }
int arraylist_equals_double(const void* element, const void* probe) { return equalFloating<double>(element, probe); }
