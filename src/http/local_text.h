#pragma once

// Local text is a byte string in GB18030, a superset of code page 936: every character
// that 936 encodes has the same bytes there, and every other Unicode character keeps a
// four-byte form instead of turning into "?". Positions count bytes from 1; a search
// never lets a match begin inside a multi-byte character.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace varnola {

inline constexpr std::string_view kIdeographicSpace = "\xA1\xA1";  // U+3000

// Byte length of the character that starts at `pos` (1, 2 or 4), never past the end.
std::size_t CharLengthAt(std::string_view text, std::size_t pos);

// 1-based byte position of the first occurrence of `what` at or after the 1-based
// position `start` (values below 1 mean the beginning), or -1. An empty `what` is found
// at `start` when that lies within the text. With `ignoreCase` only the ASCII letters
// are compared without regard to case.
long FindText(std::string_view text, std::string_view what, long start = 1,
              bool ignoreCase = false);

inline bool ContainsText(std::string_view text, std::string_view what, bool ignoreCase = false) {
  return FindText(text, what, 1, ignoreCase) > 0;
}

// ASCII letters lowered, everything else (multi-byte characters included) unchanged.
std::string LowerAscii(std::string_view text);

// Removes leading and trailing ASCII and ideographic spaces; tabs and line breaks stay.
std::string TrimText(std::string_view text);

// Removes every ASCII and ideographic space, wherever it stands.
std::string RemoveSpaces(std::string_view text);

// The pieces between separators, in order. An empty text gives no pieces; a separator
// at the very end adds no empty last piece; two separators in a row give an empty piece.
std::vector<std::string> SplitText(std::string_view text, std::string_view separator);

// Every occurrence of `what` (at character boundaries) replaced by `with`.
std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with);

}  // namespace varnola
