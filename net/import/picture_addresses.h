// Picture addresses as the loaders collect them: typed by the user, listed
// by the service host, or built from an item-URL template.
#pragma once

#include <string>
#include <vector>

// Cuts a trailing "_.webp" (any case) off address, which the marketplace
// appends to ask its image servers for a WebP copy of a JPEG or PNG.
std::string& stripWebpSuffix(std::string& address);

// The direct picture addresses in the user's text: every ';'-separated
// piece (the whole text when there is no ';'), trimmed of blanks, that
// begins "http://" or "https://" and ends ".jpg", ".png" or ".gif" (any
// case). Other pieces are left out.
std::vector<std::string> directPictureAddresses(const char* text);

// The picture addresses of a picture-API reply that begins "http://" or
// "https://": its lines, up to the first line that is not such an address
// (a line's trailing CR is dropped). Empty for any other reply.
std::vector<std::string> servicePictureAddresses(const char* body);

// The item-JSON address: urlTemplate with every "%s" replaced by id and
// every "%%" by "%". Any other '%' stays as it is: the template comes from
// the network and is never handed to a printf-style formatter.
std::string fillItemUrlTemplate(const char* urlTemplate, const char* id);
