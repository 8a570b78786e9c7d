// The start-up query: the service host may adjust how items are imported,
// the default bitrate, the default caption margins and a cookie, and show
// a notice. The reply is read on the start-up thread and applied on the
// user-interface thread in one call, so no reader sees half of it.
#pragma once

#include <array>
#include <optional>
#include <string>

// What one reply says; a field the reply does not reach stays absent.
struct ServiceReply {
    std::string notice;                                  // field 0: "false", "true" or "must"
    std::optional<int> itemPictureMode;                  // field 2
    std::optional<std::string> itemUrlTemplate;          // field 3
    std::optional<int> itemPictureTypes;                 // field 4
    std::optional<int> serviceBitrateKbps;               // field 5
    std::optional<int> keepHttpsPictureUrls;             // field 6
    std::optional<std::array<double, 5>> captionMargins; // fields 7 to 11: centre-bottom, left, right, top, bottom
    std::optional<std::string> itemRequestCookie;        // field 27
};

// Splits a reply at '^' (empty fields count; fields after 30 are ignored).
ServiceReply parseServiceReply(const char* text);

// Writes the service settings, hides the load commands in mode 2, shows the
// extension link in mode 6, and shows the notice ("must" ends the process
// with exit code 0). Call on the user-interface thread.
void applyServiceReply(const ServiceReply& reply);

// The default-margin rule of fields 7 to 11: when the five values differ
// from the defaults (to four decimals, truncated) and all lie strictly
// between 0 and 0.5, they become the defaults, and the margins in use
// follow when the user had left them on the old defaults.
void applyServiceCaptionMargins(const std::array<double, 5>& values);

// Asks the service host (no host set: returns at once) and applies the
// reply through runOnUiThread. A failed request changes nothing and shows
// nothing. Runs on the start-up thread.
void queryServiceConfig();
