// The item id inside a marketplace item address.
#pragma once

constexpr int kItemIdSize = 64;  // at most 63 characters and the terminator

// Finds the first of the keys "?id=", "&id=", "?item_num_id=" and
// "&item_num_id=" present in address (tried in that order) and copies its
// value, up to the next '&' and at most 63 bytes, into id. 1 when a value
// was read; 0 when no key is present or the value of the first key found
// is empty (id is then an empty text). The loaders also require the id to
// be a number.
int parseItemId(const char* address, char id[kItemIdSize]);
