#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace varnola {

// The program's patterns are written in the dialect of the script engine the program was
// first built on. With the options that CompiledPattern sets, PCRE2 reads most of that
// dialect the same way; this rewrites the rest so that a pattern keeps its meaning:
// - an escaped letter that has no meaning in the dialect (\A, \Z, \Q, \h, \K, \p, ...)
//   stands for the letter; "\v" is the vertical tab only; "\xhh" and "\uhhhh" are code
//   units, and without their hexadecimal digits they are the letters "x" and "u";
// - "\1".."\99" refer back to a group only when the pattern has that many groups;
//   otherwise they are octal escapes or plain digits;
// - with `multiline`, "^" and "$" also meet a carriage return, not only a line feed;
// - inside a class "[" is a plain character, and "-" next to "\d", "\s" or "\w" too;
//   a "{" that opens no quantifier is a plain brace.
// PCRE2's own extensions ((?i), (?<name>...), lookbehind, (*VERB), possessive and
// doubled quantifiers, quantified anchors) do not belong to the dialect: the pattern is
// refused (nullopt), as the engine would refuse it. Any other invalid pattern is left for
// PCRE2 to refuse.
std::optional<std::u16string> TranslatePattern(std::u16string_view pattern, bool multiline);

}  // namespace varnola
