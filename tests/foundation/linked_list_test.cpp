#include "foundation/heap_alloc.h"
#include "foundation/linked_list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void* tag(std::intptr_t value) { return reinterpret_cast<void*>(value); }

std::string contents(const LinkedList* list) {
    std::string text;
    LinkedListIterator* it = linkedlist_iterator(list);
    while (linkedlist_has_next(it))
        text += static_cast<const char*>(linkedlist_next(it)->data);
    std::free(it);
    return text;
}

} // namespace

TEST(LinkedList, InsertNormalisesIndexAndKeepsOrder) {
    LinkedList* list = linkedlist_new();
    char a[] = "a", b[] = "b", c[] = "c", x[] = "x", y[] = "y";
    linkedlist_add(list, b);
    linkedlist_add_first(list, a);
    linkedlist_add(list, c);
    linkedlist_insert(list, -5, x);   // before everything
    linkedlist_insert(list, 2, y);    // in front of the element now at 2
    linkedlist_insert(list, 99, x);   // appended
    EXPECT_EQ(contents(list), "xaybcx");
    EXPECT_EQ(linkedlist_size(list), 6);
    EXPECT_EQ(linkedlist_get(list, 2), y);
    EXPECT_EQ(linkedlist_get_first(list), x);
    EXPECT_EQ(linkedlist_get_last(list), x);
    EXPECT_EQ(linkedlist_index_of(list, "x", linkedlist_equals_string), 0);
    EXPECT_EQ(linkedlist_last_index_of(list, "x", linkedlist_equals_string), 5);
    EXPECT_EQ(linkedlist_contains(list, "z", linkedlist_equals_string), 0);
    linkedlist_free(list, 0);
}

TEST(LinkedList, OutOfRangeIndexesChangeNothing) {
    LinkedList* list = linkedlist_new();
    linkedlist_add(list, tag(1));
    linkedlist_add(list, tag(2));
    EXPECT_EQ(linkedlist_get(list, 2), nullptr);
    EXPECT_EQ(linkedlist_get(list, -1), nullptr);
    EXPECT_EQ(linkedlist_remove_at(list, 2), nullptr);
    EXPECT_EQ(linkedlist_remove_at(list, -1), nullptr);
    linkedlist_set(list, 2, tag(9));
    linkedlist_set(list, -1, tag(9));
    EXPECT_EQ(linkedlist_size(list), 2);
    linkedlist_set(list, 1, tag(7));
    EXPECT_EQ(linkedlist_get(list, 1), tag(7));
    EXPECT_EQ(linkedlist_add(nullptr, tag(1)), nullptr);
    linkedlist_free(list, 0);
}

TEST(LinkedList, RemovalsKeepCountAndLinks) {
    LinkedList* list = linkedlist_new();
    EXPECT_EQ(linkedlist_remove_first(list), nullptr);
    EXPECT_EQ(linkedlist_remove_last(list), nullptr);
    linkedlist_add(list, tag(1));
    EXPECT_EQ(linkedlist_remove_last(list), tag(1));
    EXPECT_EQ(list->first, nullptr);
    EXPECT_EQ(list->count, 0);
    for (int i = 1; i <= 4; ++i) linkedlist_add(list, tag(i));
    EXPECT_EQ(linkedlist_remove_at(list, 1), tag(2));
    EXPECT_EQ(linkedlist_remove_first(list), tag(1));
    EXPECT_EQ(linkedlist_remove_match(list, tag(4), linkedlist_equals_pointer), 1);
    EXPECT_EQ(linkedlist_remove_match(list, tag(4), linkedlist_equals_pointer), 0);
    EXPECT_EQ(linkedlist_size(list), 1);
    EXPECT_EQ(linkedlist_get_first(list), tag(3));
    linkedlist_add(list, tag(5));
    EXPECT_EQ(linkedlist_get_last(list), tag(5));
    linkedlist_clear(list, 0);
    EXPECT_EQ(linkedlist_size(list), 0);
    LinkedListIterator* it = linkedlist_iterator(list);
    EXPECT_EQ(linkedlist_has_next(it), 0);
    std::free(it);
    linkedlist_free(list, 0);
}

TEST(LinkedList, FreeWithFlagFreesNonNullElements) {
    // Under the leak checker, a missed free or a free of null shows up.
    LinkedList* list = linkedlist_new();
    linkedlist_add(list, heapCopy("one"));
    linkedlist_add(list, nullptr);
    linkedlist_add(list, heapCopy("two"));
    linkedlist_free(list, 1);

    char kept[] = "kept";
    LinkedList* borrowed = linkedlist_new();
    linkedlist_add(borrowed, kept);
    linkedlist_free(borrowed, 0);
    EXPECT_STREQ(kept, "kept");
}

TEST(LinkedList, IntEqualityComparesValues) {
    std::int32_t a = 7, b = 7, c = 8;
    EXPECT_EQ(linkedlist_equals_int(&a, &b), 1);
    EXPECT_EQ(linkedlist_equals_uint(&a, &c), 0);
    EXPECT_EQ(linkedlist_equals_pointer(&a, &b), 0);
}
