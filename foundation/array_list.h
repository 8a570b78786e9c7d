// Growable array of untyped element pointers (folder listings, downloaded
// line lists, the music catalogue, table rows, header lines). It never copies
// what it holds and frees elements only when clear/free are asked to.
#pragma once

#include "foundation/container_callbacks.h"

struct ArrayList {
    void** items;   // room for capacity entries
    int capacity;
    int increment;  // slots added when an add finds the array full
    int count;      // slots 0..count-1 are in use
};

ArrayList* arraylist_new(int capacity, int increment);  // values <= 0 become 10
ArrayList* arraylist_new_default();
void arraylist_set_capacity(ArrayList* list, int capacity, int increment);
int arraylist_add(ArrayList* list, void* element);  // returns the new count
int arraylist_insert(ArrayList* list, int index, void* element);
int arraylist_index_of(const ArrayList* list, const void* probe, EqualsFunction equals);
int arraylist_last_index_of(const ArrayList* list, const void* probe, EqualsFunction equals);
int arraylist_contains(const ArrayList* list, const void* probe, EqualsFunction equals);
int arraylist_remove_match(ArrayList* list, const void* probe, EqualsFunction equals);
void* arraylist_remove_at(ArrayList* list, int index);
void* arraylist_set(ArrayList* list, int index, void* element);  // returns the old element
void* arraylist_get(const ArrayList* list, int index);
void arraylist_clear(ArrayList* list, int freeElements);
void arraylist_free(ArrayList* list, int freeElements);

int arraylist_equals_string(const void* element, const void* probe);
int arraylist_equals_char(const void* element, const void* probe);
int arraylist_equals_uchar(const void* element, const void* probe);
int arraylist_equals_short(const void* element, const void* probe);
int arraylist_equals_int(const void* element, const void* probe);
int arraylist_equals_int64(const void* element, const void* probe);
int arraylist_equals_float(const void* element, const void* probe);
int arraylist_equals_double(const void* element, const void* probe);
