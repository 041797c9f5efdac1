#pragma once

#include <string>
#include <string_view>

namespace varnola {

// The host of a URL with or without a scheme, lower-cased; with `keepPort` followed by
// ":" and the port when the URL names one. The host runs up to the next "/".
std::string UrlHost(std::string_view url, bool keepPort = false);

// The port the URL names, else 443 for "https" and 80 otherwise.
int UrlPort(std::string_view url);

// The path with query and fragment, beginning "/", in the URL's own letter case.
std::string UrlPath(std::string_view url);

// Whether the URL's first five characters, lower-cased, are "https".
bool IsSecureUrl(std::string_view url);

}  // namespace varnola
