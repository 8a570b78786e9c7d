// The text of a successful reply as UTF-8: a body whose Content-Type
// declares a GBK charset (GBK, GB2312, GB18030) is converted, one that
// declares UTF-8 is taken as it is; without either, a body that is not
// valid UTF-8 is read as GBK. A body that cannot be converted stays as it is.
#pragma once

#include <string>

struct HttpResponse;

std::string http_reply_text(const HttpResponse* response);
