// Saves and restores every process-wide setting the service calls read or
// write, so that each test starts from the initial values.
#pragma once

#include "foundation/globals.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

struct ServiceGlobalsFixture : ::testing::Test {
    std::string host = serviceHost, site = supportSite;
    int mode = itemPictureMode, types = itemPictureTypes, bitrate = serviceBitrateKbps, keepHttps = keepHttpsPictureUrls;
    std::string urlTemplate = itemUrlTemplate, cookie = itemRequestCookie, user = userId;
    CaptionMargins defaults = defaultCaptionMargins, inUse = captionMargins;

    void TearDown() override {
        serviceHost = host;
        supportSite = site;
        itemPictureMode = mode;
        itemPictureTypes = types;
        serviceBitrateKbps = bitrate;
        keepHttpsPictureUrls = keepHttps;
        std::strcpy(itemUrlTemplate, urlTemplate.c_str());
        std::strcpy(itemRequestCookie, cookie.c_str());
        std::strcpy(userId, user.c_str());
        defaultCaptionMargins = defaults;
        captionMargins = inUse;
    }
};
