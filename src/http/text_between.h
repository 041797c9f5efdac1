#pragma once

#include <string>
#include <string_view>

namespace varnola {

// In markers, this token stands for one double-quote character.
inline constexpr std::string_view kQuotePlaceholder = "#\xD2\xFD\xBA\xC5";  // "#引号"

// The text between the first `left` marker at or after the 1-based `start` and the first
// `right` marker after it; empty when either marker is missing.
std::string TextBetween(std::string_view text, std::string_view left, std::string_view right,
                        long start = 1, bool ignoreCase = false);

}  // namespace varnola
