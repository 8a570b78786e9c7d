#include "net/import/item_json.h"

#include "foundation/charset.h"
#include "net/import/picture_addresses.h"

#include <cJSON.h>

#include <cstring>
#include <memory>

// Arrays are walked once along their links (cJSON_ArrayForEach): looking
// an item up by index walks the list from its start, so a long reply would
// cost the square of its length.

namespace {

constexpr int kMessageMaxLength = 1023;

// Where one shape keeps the main pictures and the colour property's pictures.
struct ShapePaths {
    const char* mainModel;  // object under "data"
    const char* mainList;   // array of address texts in it
    const char* skuModel;   // object under "data"
    const char* propList;   // array of properties in it
    const char* propKey;    // a property's id
    const char* imageKey;   // a property value's address
};

constexpr ShapePaths kMobilePaths = {"itemInfoModel", "picsPath", "skuModel", "skuProps", "propId", "imgUrl"};
constexpr ShapePaths kDetailPaths = {"item", "images", "skuBase", "props", "pid", "image"};

struct JsonFree {
    void operator()(cJSON* json) const { cJSON_Delete(json); }
};

std::string cutMessage(const char* text) {
    return std::string(text, gbk_prefix_bytes(text, kMessageMaxLength));
}

bool mentionsMissingItem(const std::string& ret) {
    for (const char* phrase : {"宝贝不存在", "已被删除", "没有找到宝贝"}) {
        if (ret.find(phrase) != std::string::npos) return true;
    }
    return false;
}

// true when an element of "ret" reports success; else *refusal says why.
bool retReportsSuccess(const cJSON* root, const std::string& reply, std::string* refusal) {
    std::string ret;
    const cJSON* list = cJSON_GetObjectItem(root, "ret");
    const cJSON* element = nullptr;
    cJSON_ArrayForEach(element, list) {
        const char* text = cJSON_GetStringValue(element);
        ret = cutMessage(text ? text : "");
        if (ret.find("SUCCESS") != std::string::npos || ret.find("调用成功") != std::string::npos) return true;
    }
    if (mentionsMissingItem(ret)) *refusal = "宝贝不存在或已被删除！";
    else if (!ret.empty()) *refusal = ret;
    else *refusal = cutMessage(reply.c_str());
    return false;
}

void addAddress(std::vector<std::string>& addresses, const cJSON* item) {
    const char* text = cJSON_GetStringValue(item);
    if (!text) return;
    std::string address = text;
    addresses.push_back(stripWebpSuffix(address));
}

void addMainPictures(std::vector<std::string>& addresses, const cJSON* data, const ShapePaths& paths) {
    const cJSON* list = cJSON_GetObjectItem(cJSON_GetObjectItem(data, paths.mainModel), paths.mainList);
    const cJSON* item = nullptr;
    cJSON_ArrayForEach(item, list) addAddress(addresses, item);
}

void addColourPictures(std::vector<std::string>& addresses, const cJSON* data, const ShapePaths& paths) {
    const cJSON* props = cJSON_GetObjectItem(cJSON_GetObjectItem(data, paths.skuModel), paths.propList);
    const cJSON* prop = nullptr;
    cJSON_ArrayForEach(prop, props) {
        const char* id = cJSON_GetStringValue(cJSON_GetObjectItem(prop, paths.propKey));
        if (!id || std::strcmp(id, kColourPropertyId) != 0) continue;
        const cJSON* values = cJSON_GetObjectItem(prop, "values");
        const cJSON* value = nullptr;
        cJSON_ArrayForEach(value, values) {
            addAddress(addresses, cJSON_GetObjectItem(value, paths.imageKey));
        }
        return;
    }
}

} // namespace

ItemJsonReply readItemJson(const std::string& text, ItemJsonShape shape, int type) {
    ItemJsonReply reply;
    std::unique_ptr<cJSON, JsonFree> root(cJSON_Parse(text.c_str()));
    if (!root) return reply;
    if (!retReportsSuccess(root.get(), text, &reply.message)) {
        reply.status = ItemJsonStatus::Refused;
        return reply;
    }
    const cJSON* data = cJSON_GetObjectItem(root.get(), "data");
    if (!cJSON_IsObject(data)) {
        reply.status = ItemJsonStatus::NoData;
        return reply;
    }
    const ShapePaths& paths = shape == ItemJsonShape::Mobile ? kMobilePaths : kDetailPaths;
    if (type == 0 || type == 2) addMainPictures(reply.addresses, data, paths);
    if (type == 1 || type == 2) addColourPictures(reply.addresses, data, paths);
    reply.status = ItemJsonStatus::Good;
    return reply;
}
