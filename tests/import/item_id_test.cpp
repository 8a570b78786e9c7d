#include "net/import/item_id.h"

#include <gtest/gtest.h>

#include <string>

TEST(ParseItemId, FirstKeyInOrderWinsAndValueEndsAtAmpersand) {
    struct Case {
        const char* address;
        int found;
        const char* id;
    };
    const std::string longId(70, '7');
    const std::string longAddress = "https://item/item.htm?id=" + longId;
    const std::string cutId(63, '7');
    const Case cases[] = {
        {"https://item.example/item.htm?id=123&spm=x", 1, "123"},
        {"https://item.example/item.htm?spm=x&id=456", 1, "456"},
        {"https://item.example/i?item_num_id=9", 1, "9"},
        {"https://item.example/i?a=1&item_num_id=10&b=2", 1, "10"},
        // "?id=" is looked for before "&item_num_id=", wherever each lies.
        {"https://item.example/i?x=1&item_num_id=8&z?id=7", 1, "7"},
        {"https://item.example/i?a=1&id=5?id=6", 1, "6"},
        // The first key found decides, even when its value is empty.
        {"https://item.example/i?id=&item_num_id=3", 0, ""},
        {"https://item.example/i?spm=1&id=", 0, ""},
        {"https://item.example/i?ids=4", 0, ""},
        {"", 0, ""},
        {longAddress.c_str(), 1, cutId.c_str()},
    };
    for (const Case& c : cases) {
        char id[kItemIdSize] = "stale";
        EXPECT_EQ(parseItemId(c.address, id), c.found) << c.address;
        EXPECT_STREQ(id, c.id) << c.address;
    }
}
