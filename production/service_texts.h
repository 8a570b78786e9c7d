// The second list the service host offers beside the music catalogue:
// "\n"-separated lines, the first a ","-separated list of items, then
// seven texts.
#pragma once

#include <string>
#include <vector>

struct ServiceTexts {
    std::vector<std::string> items;  // the first line's non-empty items
    std::string texts[7];
};

// Takes a reply into texts. Empty second and third lines leave the first
// two texts as they were.
void parseServiceTexts(const std::string& reply, ServiceTexts& texts);
// Fetches the list into texts; 1 when it was read, 0 when no service host
// is set or the fetch failed (texts unchanged).
int fetchServiceTexts(ServiceTexts& texts);
