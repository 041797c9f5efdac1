#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace varnola {

// True when "_xHHHH_" (four hexadecimal digits) starts at `pos`: the form in which
// spreadsheet files escape characters that XML cannot carry, such as a carriage return.
bool IsEscapeAt(std::string_view text, std::size_t pos);

// Every "_xHHHH_" replaced by the character it stands for (UTF-16 units; a surrogate
// pair joined, a lone surrogate becomes U+FFFD, a zero unit is dropped).
std::string DecodeEscapes(std::string text);

// Appends the UTF-8 form of a code point.
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace varnola
