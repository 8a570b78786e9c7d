#include "net/import/picture_addresses.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Addresses = std::vector<std::string>;

TEST(PictureAddresses, DirectAddressesNeedSchemeAndPictureExtension) {
    struct Case {
        const char* text;
        Addresses expected;
    };
    const Case cases[] = {
        {"http://a.example/b.jpg", {"http://a.example/b.jpg"}},
        {"https://a.example/b.PNG;http://a.example/c.webp;http://a.example/d.gif",
         {"https://a.example/b.PNG", "http://a.example/d.gif"}},
        {" http://a.example/b.jpg ;\r\nhttps://a.example/c.jpg\n", {"http://a.example/b.jpg", "https://a.example/c.jpg"}},
        {"HTTP://a.example/b.jpg", {}},
        {"ftp://a.example/b.jpg", {}},
        {"http://a.example/b.jpg?x=1", {}},
        {"https://item.example/item.htm?id=1", {}},
        {";;", {}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(directPictureAddresses(c.text), c.expected) << c.text;
}

TEST(PictureAddresses, ServiceListEndsAtTheFirstLineThatIsNoAddress) {
    struct Case {
        const char* body;
        Addresses expected;
    };
    const Case cases[] = {
        {"http://a/1.jpg\nhttps://a/2.jpg\n\nhttp://a/3.jpg", {"http://a/1.jpg", "https://a/2.jpg"}},
        {"http://a/1.jpg\r\nhttp://a/2.jpg\r\n", {"http://a/1.jpg", "http://a/2.jpg"}},
        {"https://a/1.jpg\nnote\nhttp://a/2.jpg", {"https://a/1.jpg"}},
        {"\nhttp://a/1.jpg", {}},
        {"宝贝已下架", {}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(servicePictureAddresses(c.body), c.expected) << c.body;
}

TEST(PictureAddresses, TemplateTakesTheIdAsTextNeverAsAFormat) {
    struct Case {
        const char* urlTemplate;
        const char* expected;
    };
    const Case cases[] = {
        {"https://h.example/detail?id=%s&x=1", "https://h.example/detail?id=42&x=1"},
        {"https://h.example/%s/%s", "https://h.example/42/42"},
        {"https://h.example/?data=%%7B%%22id%%22%%3A%%22%s%%22%%7D", "https://h.example/?data=%7B%22id%22%3A%2242%22%7D"},
        {"https://h.example/?a=%n%x%d%p%99999999s&id=%s", "https://h.example/?a=%n%x%d%p%99999999s&id=42"},
        {"https://h.example/100%", "https://h.example/100%"},
        {"https://h.example/no-id", "https://h.example/no-id"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(fillItemUrlTemplate(c.urlTemplate, "42"), c.expected) << c.urlTemplate;
}

TEST(PictureAddresses, WebpSuffixIsCutOnlyAtTheEnd) {
    struct Case {
        const char* address;
        const char* expected;
    };
    const Case cases[] = {
        {"https://img.example/a.jpg_.webp", "https://img.example/a.jpg"},
        {"https://img.example/a.jpg_.WebP", "https://img.example/a.jpg"},
        {"https://img.example/a.webp", "https://img.example/a.webp"},
        {"https://img.example/a_.webp.jpg", "https://img.example/a_.webp.jpg"},
        {"_.webp", ""},
    };
    for (const Case& c : cases) {
        std::string address = c.address;
        EXPECT_EQ(stripWebpSuffix(address), c.expected);
        EXPECT_EQ(address, c.expected);
    }
}
