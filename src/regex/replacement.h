#pragma once

#include <span>
#include <string>
#include <string_view>

#include "regex/compiled_pattern.h"

namespace varnola {

// Appends the replacement for one match of `subject` (`match[0]` the whole match,
// `match[k]` group k), expanding the engine's replacement syntax:
//   "$1".."$9", "$01".."$99"  the text of that group (empty when it took no part);
//                             "$nn" beyond the groups falls back to "$n" and a digit
//   "$&"  the match    "$`"  the subject before it    "$'"  the subject after it
//   "$$"  one "$"      any other "$" stands for itself
void AppendReplacement(std::u16string& out, std::u16string_view replacement,
                       std::u16string_view subject, std::span<const MatchSpan> match);

}  // namespace varnola
