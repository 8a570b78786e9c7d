#include "net/import/item_id.h"

#include <cstring>

int parseItemId(const char* address, char id[kItemIdSize]) {
    id[0] = '\0';
    if (!address) return 0;
    static const char* const keys[] = {"?id=", "&id=", "?item_num_id=", "&item_num_id="};
    for (const char* key : keys) {
        const char* found = std::strstr(address, key);
        if (!found) continue;
        const char* value = found + std::strlen(key);
        size_t length = std::strcspn(value, "&");
        if (length > kItemIdSize - 1) length = kItemIdSize - 1;
        std::memcpy(id, value, length);
        id[length] = '\0';
        return length > 0;
    }
    return 0;
}
