// The marketplace's item JSON: whether the reply says the call succeeded,
// and the item's picture addresses. Two shapes exist: the mobile item
// service's and the one the item-URL template usually points at; they
// differ only in where the same things lie.
#pragma once

#include <string>
#include <vector>

enum class ItemJsonShape {
    Mobile,  // data.itemInfoModel.picsPath; data.skuModel.skuProps[propId].values[imgUrl]
    Detail,  // data.item.images; data.skuBase.props[pid].values[image]
};

enum class ItemJsonStatus {
    NotJson,  // the reply is not JSON
    Refused,  // no "ret" element reports success; message says why
    NoData,   // success, but no "data" object: nothing to load, nothing to say
    Good,     // success; addresses holds the pictures (possibly none)
};

struct ItemJsonReply {
    ItemJsonStatus status = ItemJsonStatus::NotJson;
    std::string message;                 // for Refused: the text to show
    std::vector<std::string> addresses;  // for Good: every address without a "_.webp" suffix
};

// The colour property's id in the item's SKU properties.
constexpr char kColourPropertyId[] = "1627207";

// Reads a UTF-8 reply. type 0 takes the main pictures, 1 the colour-variant
// pictures, 2 both (main ones first).
//
// Status: the reply is good when an element of its "ret" array contains
// "SUCCESS" or "调用成功". Otherwise the message is "宝贝不存在或已被删除！"
// when the last element read mentions a missing item, else that element's
// text, else the reply itself; texts are cut to 1023 (GBK) characters.
ItemJsonReply readItemJson(const std::string& text, ItemJsonShape shape, int type);
