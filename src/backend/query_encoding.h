#pragma once

#include <string>
#include <string_view>

namespace varnola {

// Percent-encodes a local text as a query or form value: the text goes as the bytes of
// its UTF-8 form, RFC 3986's unreserved characters (letters, digits, "-", ".", "_", "~")
// stay, every other byte becomes "%XX". With `spaceAsPlus` a space becomes "+", as a
// browser encodes an application/x-www-form-urlencoded body.
std::string EncodeQueryValue(std::string_view localText, bool spaceAsPlus = false);

// The same for bytes that are to travel as they are (an answer received from a service).
std::string EncodeQueryBytes(std::string_view bytes, bool spaceAsPlus = false);

}  // namespace varnola
