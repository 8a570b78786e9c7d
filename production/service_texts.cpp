#include "production/service_texts.h"

#include <sstream>

#include "net/http_request.h"
#include "net/reply_text.h"
#include "net/service_host.h"

namespace {

bool nextLine(std::istream& lines, std::string& line) {
    if (!std::getline(lines, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

} // namespace

void parseServiceTexts(const std::string& reply, ServiceTexts& texts) {
    std::istringstream lines(reply);
    std::string line;
    nextLine(lines, line);
    texts.items.clear();
    std::istringstream items(line);
    std::string item;
    while (std::getline(items, item, ','))
        if (!item.empty()) texts.items.push_back(item);
    for (int i = 0; i < 7 && nextLine(lines, line); ++i) {
        if (line.empty() && i < 2) continue;
        texts.texts[i] = line;
    }
}

int fetchServiceTexts(ServiceTexts& texts) {
    const std::string url = serviceTextsUrl();
    if (url.empty()) return 0;
    HttpResponsePtr reply(http_request(url.c_str(), nullptr, nullptr, 1, 0, nullptr));
    if (!reply->ok) return 0;
    parseServiceTexts(http_reply_text(reply.get()), texts);
    return 1;
}
