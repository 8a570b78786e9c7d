#include "foundation/globals.h"

// ---- Output size ----
int videoWidth = 400;
int videoHeight = 400;

// ---- Service host, user and program identity ----
std::string serviceHost;
std::string supportSite;
char userId[33] = "";
char programDigest[33] = "";
