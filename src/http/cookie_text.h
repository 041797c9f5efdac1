#pragma once

#include <string>
#include <string_view>

namespace varnola {

// A cookie text: name=value entries joined by "; ", without attributes.
using CookieText = std::string;

// The text before an entry's first "=", trimmed; an entry without "=" is its own name.
std::string CookieName(std::string_view entry);

// Folds the cookies of one response into the previous ones: new cookies first, then the
// old ones whose names the new ones do not carry; "=deleted" entries dropped; repeated
// identical entries removed. Both texts lose every space, in the caller's variables too.
// The merged text replaces `cookieText` and is returned.
std::string MergeCookies(CookieText& cookieText, CookieText& returnedCookies);

// The text with pieces that repeat an earlier piece character for character removed.
std::string RemoveDuplicateItems(std::string_view text, std::string_view separator);

}  // namespace varnola
