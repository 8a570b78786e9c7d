// Every call the program makes to the service host (the makers' web
// server), gathered in one place, and the support site's pages. Both bases
// are preferences (serviceHost, supportSite in globals); with a base unset
// every builder here returns an empty text and the caller makes no request.
// Every call is a keep-alive GET without cookie, referer or body.
#pragma once

#include <string>

// Base address + pathAndQuery ("/..."); a base without a scheme gets "http://".
std::string serviceUrl(const std::string& pathAndQuery);
std::string supportSiteUrl(const std::string& page);

// Start-up query: version, user id, program digest and the OS version.
// Reply: UTF-8 text, fields separated by '^' (see queryServiceConfig).
std::string serviceStartupQueryUrl();

// Error report: OS version, processor signature, where, the message
// (UTF-8, form-encoded), version and user id. The reply is ignored.
std::string serviceErrorReportUrl(const char* where, const char* message);

// Picture API of an item address (type 0 main pictures, 1 colour-variant
// pictures, 2 both): "/getProductImg/API.asp?v=10.5&sid=<reversed user
// id>&baobeiURL=<encoded address>&m=<type>&". Reply: picture addresses, one
// per line; a body beginning with a line feed is an empty list; any other
// body is a message for the user.
std::string servicePictureApiUrl(const char* itemAddress, int type);

// Music catalogue. Reply: UTF-8 lines "download URL|size in bytes|file name".
std::string serviceMusicCatalogueUrl();

// The second list of service texts. Reply: "\n"-separated lines, the first
// a ","-separated list, then seven texts.
std::string serviceTextsUrl();
