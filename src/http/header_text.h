#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace varnola {

inline constexpr std::string_view kDefaultAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// The agent string of an exchange: the value of a "User-Agent:" line among the caller's
// header lines, trimmed, else the default agent.
std::string AgentString(std::string_view extraHeaders);

// The header block that goes out: the caller's lines completed with the default Accept,
// Referer, Accept-Language and Content-Type lines, then a Cookie line for a non-empty
// cookie text.
std::string BuildHeaderBlock(std::string_view extraHeaders, std::string_view url,
                             std::string_view cookieText);

// The lines of a header block as they are put on the wire: empty lines dropped, and a
// stray line break inside a line turned into a space so no text can add a header line.
std::vector<std::string> HeaderLines(std::string_view headerBlock);

// "Set-Cookie" in any letter case rewritten as "Set-Cookie".
std::string NormaliseSetCookie(std::string_view rawHeaders);

// The name=value pairs of the Set-Cookie lines of a normalised header block, in header
// order, joined by "; "; the cookies' attributes are dropped.
std::string CookiesFromHeaders(std::string_view rawHeaders);

}  // namespace varnola
