#include "net/import/item_json.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Addresses = std::vector<std::string>;

// An item JSON with success, two main pictures and a colour property that
// comes after a property without an id and another property.
std::string itemJson(ItemJsonShape shape) {
    bool mobile = shape == ItemJsonShape::Mobile;
    std::string mainModel = mobile ? "itemInfoModel" : "item";
    std::string mainList = mobile ? "picsPath" : "images";
    std::string skuModel = mobile ? "skuModel" : "skuBase";
    std::string props = mobile ? "skuProps" : "props";
    std::string key = mobile ? "propId" : "pid";
    std::string image = mobile ? "imgUrl" : "image";
    return R"({"ret":["SUCCESS::调用成功"],"data":{")" + mainModel + R"(":{")" + mainList +
           R"(":["https://img.example/m1.jpg_.webp","//img.example/m2.jpg"]},")" + skuModel + R"(":{")" + props +
           R"(":[{"values":[{")" + image + R"(":"https://img.example/none.jpg"}]},{")" + key +
           R"(":"20509","values":[{")" + image + R"(":"https://img.example/size.jpg"}]},{")" + key +
           R"(":"1627207","values":[{")" + image + R"(":"https://img.example/c1.jpg"},{"name":"红"},{")" + image +
           R"(":"https://img.example/c2.jpg_.webp"}]},{")" + key + R"(":"1627207","values":[{")" + image +
           R"(":"https://img.example/later.jpg"}]}]}}})";
}

} // namespace

TEST(ItemJson, BothShapesGiveMainAndColourPicturesByType) {
    const Addresses mainPictures = {"https://img.example/m1.jpg", "//img.example/m2.jpg"};
    const Addresses colourPictures = {"https://img.example/c1.jpg", "https://img.example/c2.jpg"};
    Addresses both = mainPictures;
    both.insert(both.end(), colourPictures.begin(), colourPictures.end());
    for (ItemJsonShape shape : {ItemJsonShape::Mobile, ItemJsonShape::Detail}) {
        std::string json = itemJson(shape);
        SCOPED_TRACE(json);
        ItemJsonReply reply = readItemJson(json, shape, 0);
        EXPECT_EQ(reply.status, ItemJsonStatus::Good);
        EXPECT_EQ(reply.addresses, mainPictures);
        EXPECT_EQ(readItemJson(json, shape, 1).addresses, colourPictures);
        EXPECT_EQ(readItemJson(json, shape, 2).addresses, both);
        // The other shape's paths find nothing in it.
        ItemJsonShape other = shape == ItemJsonShape::Mobile ? ItemJsonShape::Detail : ItemJsonShape::Mobile;
        EXPECT_EQ(readItemJson(json, other, 2).addresses, Addresses{});
    }
}

TEST(ItemJson, RetDecidesAndExplainsRefusals) {
    const std::string longText(2000, 'e');
    struct Case {
        std::string reply;
        ItemJsonStatus status;
        std::string message;
    };
    const Case cases[] = {
        {R"({"ret":["SUCCESS::调用成功"],"data":{}})", ItemJsonStatus::Good, ""},
        {R"({"ret":["FAIL_SYS_TOKEN_EXPIRED::令牌过期","调用成功"],"data":{}})", ItemJsonStatus::Good, ""},
        {R"({"RET":["SUCCESS"],"Data":{}})", ItemJsonStatus::Good, ""},
        {R"({"ret":["SUCCESS::调用成功"]})", ItemJsonStatus::NoData, ""},
        {R"({"ret":["SUCCESS::调用成功"],"data":"none"})", ItemJsonStatus::NoData, ""},
        {R"({"ret":["ERRCODE_QUERY_DETAIL_FAIL::宝贝不存在"]})", ItemJsonStatus::Refused, "宝贝不存在或已被删除！"},
        {R"({"ret":["FAIL::该宝贝已被删除"]})", ItemJsonStatus::Refused, "宝贝不存在或已被删除！"},
        {R"({"ret":["FAIL::没有找到宝贝"]})", ItemJsonStatus::Refused, "宝贝不存在或已被删除！"},
        // The last element read is the one told.
        {R"({"ret":["FAIL::宝贝不存在","FAIL_BIZ::系统繁忙"]})", ItemJsonStatus::Refused, "FAIL_BIZ::系统繁忙"},
        {R"({"ret":[],"data":{}})", ItemJsonStatus::Refused, R"({"ret":[],"data":{}})"},
        {R"({"data":{}})", ItemJsonStatus::Refused, R"({"data":{}})"},
        {R"({"ret":[7]})", ItemJsonStatus::Refused, R"({"ret":[7]})"},
        {R"({"ret":[")" + longText + R"("]})", ItemJsonStatus::Refused, longText.substr(0, 1023)},
        {"<html>登录</html>", ItemJsonStatus::NotJson, ""},
        {"", ItemJsonStatus::NotJson, ""},
    };
    for (const Case& c : cases) {
        ItemJsonReply reply = readItemJson(c.reply, ItemJsonShape::Detail, 0);
        EXPECT_EQ(reply.status, c.status) << c.reply;
        EXPECT_EQ(reply.message, c.message) << c.reply;
    }
}

TEST(ItemJson, WholeReplyMessageIsCutOnACharacterBoundary) {
    std::string chinese;
    for (int i = 0; i < 100; ++i) chinese += "中";
    std::string reply = R"({"x":")" + std::string(900, 'a') + chinese + R"("})";
    ItemJsonReply result = readItemJson(reply, ItemJsonShape::Mobile, 0);
    ASSERT_EQ(result.status, ItemJsonStatus::Refused);
    // 906 ASCII bytes, then 58 whole characters of two GBK units (three UTF-8 bytes) each.
    EXPECT_EQ(result.message, reply.substr(0, 906 + 58 * 3));
}
