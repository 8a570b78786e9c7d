#include "foundation/linked_list.h"

#include "foundation/heap_alloc.h"

#include <cstdlib>

namespace {

// The link (header's first, or a node's next) that leads to the node at
// index; index may equal count, giving the tail link.
LinkedListNode** linkAt(LinkedList* list, int index) {
    LinkedListNode** link = &list->first;
    for (int i = 0; i < index && *link; ++i) link = &(*link)->next;
    return link;
}

LinkedListNode* linkIn(LinkedList* list, LinkedListNode** link, void* data) {
    auto* node = heapCalloc<LinkedListNode>();
    node->data = data;
    node->next = *link;
    *link = node;
    ++list->count;
    return node;
}

void* unlink(LinkedList* list, LinkedListNode** link) {
    LinkedListNode* node = *link;
    void* data = node->data;
    *link = node->next;
    std::free(node);
    --list->count;
    return data;
}

bool inRange(const LinkedList* list, int index) {
    return list && index >= 0 && index < list->count;
}

const LinkedListNode* nodeAt(const LinkedList* list, int index) {
    const LinkedListNode* node = list->first;
    for (int i = 0; i < index; ++i) node = node->next;
    return node;
}

} // namespace

LinkedList* linkedlist_new() {
    return heapCalloc<LinkedList>();
}

LinkedListNode* linkedlist_add(LinkedList* list, void* data) {
    if (!list) return nullptr;
    LinkedListNode** link = &list->first;
    while (*link) link = &(*link)->next;
    return linkIn(list, link, data);
}

LinkedListNode* linkedlist_add_first(LinkedList* list, void* data) {
    if (!list) return nullptr;
    return linkIn(list, &list->first, data);
}

LinkedListNode* linkedlist_insert(LinkedList* list, int index, void* data) {
    if (!list) return nullptr;
    if (index >= list->count) return linkedlist_add(list, data);
    if (index < 0) index = 0;
    return linkIn(list, linkAt(list, index), data);
}

int linkedlist_remove_match(LinkedList* list, const void* probe, EqualsFunction equals) {
    if (!list || !equals) return 0;
    for (LinkedListNode** link = &list->first; *link; link = &(*link)->next) {
        if (equals((*link)->data, probe)) {
            unlink(list, link);
            return 1;
        }
    }
    return 0;
}

void* linkedlist_remove_first(LinkedList* list) {
    if (!list || list->count <= 0 || !list->first) return nullptr;
    return unlink(list, &list->first);
}

void* linkedlist_remove_last(LinkedList* list) {
    if (!list || list->count <= 0 || !list->first) return nullptr;
    LinkedListNode** link = &list->first;
    while ((*link)->next) link = &(*link)->next;
    return unlink(list, link);
}

void* linkedlist_remove_at(LinkedList* list, int index) {
    if (!inRange(list, index)) return nullptr;
    return unlink(list, linkAt(list, index));
}

void linkedlist_set(LinkedList* list, int index, void* data) {
    if (!inRange(list, index)) return;
    (*linkAt(list, index))->data = data;
}

void* linkedlist_get(const LinkedList* list, int index) {
    if (!inRange(list, index)) return nullptr;
    return nodeAt(list, index)->data;
}

void* linkedlist_get_first(const LinkedList* list) {
    if (!list || list->count <= 0 || !list->first) return nullptr;
    return list->first->data;
}

void* linkedlist_get_last(const LinkedList* list) {
    if (!list || list->count <= 0 || !list->first) return nullptr;
    const LinkedListNode* node = list->first;
    while (node->next) node = node->next;
    return node->data;
}

int linkedlist_index_of(const LinkedList* list, const void* probe, EqualsFunction equals) {
    if (!list || !equals) return -1;
    int index = 0;
    for (const LinkedListNode* node = list->first; node; node = node->next, ++index)
        if (equals(node->data, probe)) return index;
    return -1;
}

int linkedlist_last_index_of(const LinkedList* list, const void* probe, EqualsFunction equals) {
    if (!list || !equals) return -1;
    int found = -1, index = 0;
    for (const LinkedListNode* node = list->first; node; node = node->next, ++index)
        if (equals(node->data, probe)) found = index;
    return found;
}

int linkedlist_contains(const LinkedList* list, const void* probe, EqualsFunction equals) {
    return linkedlist_index_of(list, probe, equals) >= 0 ? 1 : 0;
}

int linkedlist_size(const LinkedList* list) {
    return list ? list->count : 0;
}

void linkedlist_clear(LinkedList* list, int freeData) {
    if (!list) return;
    LinkedListNode* node = list->first;
    while (node) {
        LinkedListNode* next = node->next;
        if (freeData && node->data) std::free(node->data);
        std::free(node);
        node = next;
    }
    list->reserved = nullptr;
    list->first = nullptr;
    list->count = 0;
}

void linkedlist_free(LinkedList* list, int freeData) {
    if (!list) return;
    linkedlist_clear(list, freeData);
    std::free(list);
}

LinkedListIterator* linkedlist_iterator(const LinkedList* list) {
    auto* iterator = heapCalloc<LinkedListIterator>();
    static LinkedListNode* const noNode = nullptr;
    iterator->link = list ? &list->first : &noNode;
    return iterator;
}

int linkedlist_has_next(const LinkedListIterator* iterator) {
    return iterator && *iterator->link ? 1 : 0;
}

LinkedListNode* linkedlist_next(LinkedListIterator* iterator) {
    if (!linkedlist_has_next(iterator)) return nullptr;
    LinkedListNode* node = *iterator->link;
    iterator->link = &node->next;
    return node;
}

int linkedlist_equals_string(const void* element, const void* probe) { return equals_string(element, probe); }
int linkedlist_equals_int(const void* element, const void* probe) { return equals_int(element, probe); }
int linkedlist_equals_uint(const void* element, const void* probe) { return equals_int(element, probe); }
int linkedlist_equals_pointer(const void* element, const void* probe) { return element == probe; }
