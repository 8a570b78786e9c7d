// printf-style formatting into a std::string, for messages built from
// numbers and texts; the format is always a literal of this program.
#pragma once

#include <string>

std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
