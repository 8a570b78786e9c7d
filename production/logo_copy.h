// The copy of the logo that the encoder's overlay filter reads from its
// working folder.
#pragma once

#include <string>

// Copies the logo into folder as "temp_%d.png" or "temp_%d.jpg" (by the
// type its header shows, never the user's extension, so the name is safe
// inside the filter graph), with a number from 10000 to 99999 not yet
// taken. Returns the bare name, or an empty text when the logo cannot be
// read or the copy cannot be written (nothing is left behind then).
std::string copyLogoToWorkFolder(const std::string& logoPath, const std::string& folder);
