// Singly linked list of untyped element pointers (the picture list, the
// preview frame queue). It never copies what it holds and frees elements
// only when clear/free are asked to.
// No lock: callers that share a list guard it themselves.
#pragma once

#include "foundation/container_callbacks.h"

struct LinkedListNode {
    void* data;            // element, may be null
    LinkedListNode* next;  // null at the tail
};

struct LinkedList {
    void* reserved;        // always null
    LinkedListNode* first; // null when empty
    int count;
};

// Heap cursor; start it with linkedlist_iterator, release it with free().
// It holds the link that leads to the next node, so it starts "on the header".
struct LinkedListIterator {
    LinkedListNode* const* link;
};

LinkedList* linkedlist_new();
LinkedListNode* linkedlist_add(LinkedList* list, void* data);
LinkedListNode* linkedlist_add_first(LinkedList* list, void* data);
LinkedListNode* linkedlist_insert(LinkedList* list, int index, void* data);
int linkedlist_remove_match(LinkedList* list, const void* probe, EqualsFunction equals);
void* linkedlist_remove_first(LinkedList* list);
void* linkedlist_remove_last(LinkedList* list);
void* linkedlist_remove_at(LinkedList* list, int index);
void linkedlist_set(LinkedList* list, int index, void* data);
void* linkedlist_get(const LinkedList* list, int index);
void* linkedlist_get_first(const LinkedList* list);
void* linkedlist_get_last(const LinkedList* list);
int linkedlist_index_of(const LinkedList* list, const void* probe, EqualsFunction equals);
int linkedlist_last_index_of(const LinkedList* list, const void* probe, EqualsFunction equals);
int linkedlist_contains(const LinkedList* list, const void* probe, EqualsFunction equals);
int linkedlist_size(const LinkedList* list);
void linkedlist_clear(LinkedList* list, int freeData);
void linkedlist_free(LinkedList* list, int freeData);

LinkedListIterator* linkedlist_iterator(const LinkedList* list);
int linkedlist_has_next(const LinkedListIterator* iterator);
LinkedListNode* linkedlist_next(LinkedListIterator* iterator);

int linkedlist_equals_string(const void* element, const void* probe);
int linkedlist_equals_int(const void* element, const void* probe);
int linkedlist_equals_uint(const void* element, const void* probe);
int linkedlist_equals_pointer(const void* element, const void* probe);
