// Process-wide settings and state that several layers read or write.
// They live here, in the lowest layer, so that no layer has to include a
// higher one to reach them. Each is written on the user-interface thread
// before a worker that reads it starts, unless it is an atomic.
//
// Keep one section per owner, in layer order, so additions stay apart.
#pragma once

// ---- Output size (set by the size combo and the custom size dialog) ----
extern int videoWidth;   // initial 400
extern int videoHeight;  // initial 400

// ---- Service host, user and program identity (net: start-up query, error reports) ----
#include <string>

// The program's version, sent with every call to the service host.
constexpr float programVersion = 10.5f;
// Base address of the service host ("https://host[:port]"; a bare host
// means "http://host") and of the support site whose pages are opened in
// the browser. Preferences, empty by default: with none, no service call
// touches the network and error reports go to the local log file.
extern std::string serviceHost;
extern std::string supportSite;
extern char userId[33];         // opaque user identifier, possibly empty
extern char programDigest[33];  // MD5 of the program file, 32 upper-case hex digits, or empty
