// How long reading a large item JSON reply takes on the user-interface
// thread: many "ret" elements before the one that reports success, and a
// long main-picture list.
//
//   item_json_bench [--ret N] [--pictures M]
//
// Builds a reply with N (100000) "ret" elements and M (40000) picture
// addresses (about 2 MB), reads it with readItemJson and prints the time.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "net/import/item_json.h"

namespace {

std::string largeReply(int retCount, int pictureCount) {
    std::string json = "{\"ret\":[";
    for (int i = 0; i < retCount; ++i) json += "\"WAIT\",";
    json += "\"SUCCESS::调用成功\"],\"data\":{\"itemInfoModel\":{\"picsPath\":[";
    for (int i = 0; i < pictureCount; ++i) {
        if (i > 0) json += ",";
        json += "\"https://img.example/pictures/" + std::to_string(i) + ".jpg\"";
    }
    return json + "]}}}";
}

} // namespace

int main(int argc, char** argv) {
    int retCount = 100000;
    int pictureCount = 40000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--ret") == 0) retCount = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--pictures") == 0) pictureCount = std::atoi(argv[i + 1]);
    }
    const std::string reply = largeReply(retCount, pictureCount);
    const auto start = std::chrono::steady_clock::now();
    const ItemJsonReply read = readItemJson(reply, ItemJsonShape::Mobile, 0);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("reply of %zu bytes (%d ret elements, %d pictures): %zu addresses in %.3f s\n", reply.size(),
                retCount, pictureCount, read.addresses.size(), seconds);
    return read.status == ItemJsonStatus::Good && static_cast<int>(read.addresses.size()) == pictureCount ? 0 : 1;
}
