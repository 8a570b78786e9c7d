// Addresses on the service host (the makers' web server) and on the support
// site. Both bases are preferences (serviceHost, supportSite in globals);
// with a base unset every builder here returns an empty text, and callers
// make no request.
#pragma once

#include <string>

// Base address + pathAndQuery ("/..."); a base without a scheme gets "http://".
std::string serviceUrl(const std::string& pathAndQuery);
std::string supportSiteUrl(const std::string& page);
