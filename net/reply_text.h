// The text of a successful reply as UTF-8: a body whose Content-Type
// declares a GBK charset (GBK, GB2312, GB18030) is converted, any other is
// taken as it is.
#pragma once

#include <string>

struct HttpResponse;

std::string http_reply_text(const HttpResponse* response);
