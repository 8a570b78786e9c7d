#include "foundation/array_list.h"
#include "foundation/heap_alloc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

namespace {

void* tag(std::intptr_t value) { return reinterpret_cast<void*>(value); }

std::string contents(const ArrayList* list) {
    std::string text;
    for (int i = 0; i < list->count; ++i) text += static_cast<const char*>(arraylist_get(list, i));
    return text;
}

} // namespace

TEST(ArrayList, GrowsByIncrement) {
    ArrayList* list = arraylist_new(0, -3);
    EXPECT_EQ(list->capacity, 10);
    EXPECT_EQ(list->increment, 10);
    for (int i = 1; i <= 21; ++i) {
        EXPECT_EQ(arraylist_add(list, tag(i)), i);
        if (i == 10) { EXPECT_EQ(list->capacity, 10); }
        if (i == 11) { EXPECT_EQ(list->capacity, 20); }
    }
    EXPECT_EQ(list->capacity, 30);
    EXPECT_EQ(arraylist_get(list, 20), tag(21));
    arraylist_free(list, 0);

    ArrayList* small = arraylist_new(4, 2);
    for (int i = 1; i <= 5; ++i) arraylist_add(small, tag(i));
    EXPECT_EQ(small->capacity, 6);
    arraylist_free(small, 0);
}

TEST(ArrayList, InsertAndRemoveShiftElements) {
    ArrayList* list = arraylist_new(2, 1);
    char a[] = "a", b[] = "b", x[] = "x", y[] = "y";
    arraylist_add(list, a);
    arraylist_add(list, b);
    EXPECT_EQ(arraylist_insert(list, -1, x), 1);
    EXPECT_EQ(contents(list), "xab");
    arraylist_insert(list, 7, y);
    EXPECT_EQ(contents(list), "xaby");
    arraylist_insert(list, 2, x);
    EXPECT_EQ(contents(list), "xaxby");
    EXPECT_EQ(arraylist_index_of(list, "x", arraylist_equals_string), 0);
    EXPECT_EQ(arraylist_last_index_of(list, "x", arraylist_equals_string), 2);
    EXPECT_EQ(arraylist_remove_at(list, list->count), nullptr);
    EXPECT_EQ(arraylist_remove_at(list, 1), a);
    EXPECT_EQ(list->items[list->count], nullptr);  // vacated slot cleared
    EXPECT_EQ(arraylist_remove_match(list, "b", arraylist_equals_string), 1);
    EXPECT_EQ(arraylist_remove_match(list, "b", arraylist_equals_string), 0);
    EXPECT_EQ(contents(list), "xxy");
    EXPECT_EQ(arraylist_set(list, 3, a), nullptr);
    EXPECT_EQ(arraylist_set(list, 2, a), y);
    EXPECT_EQ(contents(list), "xxa");
    arraylist_free(list, 0);
}

TEST(ArrayList, SetCapacityRaisesToMinimumAndNeverDropsElements) {
    ArrayList* list = arraylist_new(20, 5);
    for (int i = 1; i <= 3; ++i) arraylist_add(list, tag(i));
    arraylist_set_capacity(list, 5, 1);
    EXPECT_EQ(list->capacity, 10);
    EXPECT_EQ(list->increment, 10);
    EXPECT_EQ(arraylist_get(list, 2), tag(3));

    for (int i = 4; i <= 12; ++i) arraylist_add(list, tag(i));
    int capacity = list->capacity;
    arraylist_set_capacity(list, 5, 30);
    EXPECT_EQ(list->capacity, capacity);
    EXPECT_EQ(list->increment, 30);
    EXPECT_EQ(arraylist_get(list, 11), tag(12));
    arraylist_free(list, 0);
}

TEST(ArrayList, ClearWithFlagSkipsNullElements) {
    ArrayList* list = arraylist_new_default();
    arraylist_add(list, heapCopy("a"));
    arraylist_add(list, nullptr);
    arraylist_add(list, heapCopy("b"));
    arraylist_clear(list, 1);
    EXPECT_EQ(list->count, 0);
    EXPECT_EQ(list->items[0], nullptr);
    arraylist_free(list, 1);
}

TEST(ArrayList, ValueEqualityCallbacks) {
    std::int64_t big1 = 0x100000001, big2 = 0x100000001, big3 = 0x200000001;
    EXPECT_EQ(arraylist_equals_int64(&big1, &big2), 1);
    EXPECT_EQ(arraylist_equals_int64(&big1, &big3), 0);  // low halves agree
    std::int16_t s1 = -2, s2 = -2;
    EXPECT_EQ(arraylist_equals_short(&s1, &s2), 1);
    float nan1 = NAN, nan2 = NAN;
    EXPECT_EQ(arraylist_equals_float(&nan1, &nan2), 0);
    EXPECT_EQ(arraylist_equals_float(&nan1, &nan1), 1);
    double d1 = 0.0, d2 = -0.0;
    EXPECT_EQ(arraylist_equals_double(&d1, &d2), 1);
    EXPECT_EQ(arraylist_equals_char("a", "a"), 1);
}
