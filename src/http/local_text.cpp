#include "http/local_text.h"

#include <algorithm>

namespace varnola {
namespace {

unsigned char ByteAt(std::string_view text, std::size_t pos) {
  return static_cast<unsigned char>(text[pos]);
}

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether `what` stands at `pos`, comparing single-byte characters of `text` case-blind
// and the bytes of multi-byte characters exactly.
bool MatchesFoldedAt(std::string_view text, std::size_t pos, std::string_view what) {
  std::size_t i = 0;
  while (i < what.size()) {
    const std::size_t at = pos + i;
    const std::size_t len = CharLengthAt(text, at);
    if (len == 1) {
      if (FoldAscii(text[at]) != FoldAscii(what[i])) return false;
      ++i;
      continue;
    }
    for (std::size_t k = 0; k < len && i < what.size(); ++k, ++i) {
      if (text[at + k] != what[i]) return false;
    }
  }
  return true;
}

}  // namespace

std::size_t CharLengthAt(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return 0;
  const unsigned char lead = ByteAt(text, pos);
  std::size_t len = 1;
  if (lead >= 0x81 && lead <= 0xFE && pos + 1 < text.size()) {
    const unsigned char second = ByteAt(text, pos + 1);
    len = (second >= 0x30 && second <= 0x39) ? 4 : 2;
  }
  return std::min(len, text.size() - pos);
}

long FindText(std::string_view text, std::string_view what, long start, bool ignoreCase) {
  std::size_t walk = start > 1 ? static_cast<std::size_t>(start - 1) : 0;
  if (walk > text.size() || what.size() > text.size() - walk) return -1;
  if (what.empty()) return static_cast<long>(walk) + 1;

  if (ignoreCase) {
    const std::size_t last = text.size() - what.size();
    for (; walk <= last; walk += CharLengthAt(text, walk)) {
      if (MatchesFoldedAt(text, walk, what)) return static_cast<long>(walk) + 1;
    }
    return -1;
  }

  // Find a byte-wise candidate quickly, then walk the character boundaries up to it: a
  // candidate that falls inside a character is skipped and the search goes on from the
  // next boundary, so the whole search stays linear.
  while (walk < text.size()) {
    const std::size_t candidate = text.find(what, walk);
    if (candidate == std::string_view::npos) return -1;
    while (walk < candidate) walk += CharLengthAt(text, walk);
    if (walk == candidate) return static_cast<long>(candidate) + 1;
  }
  return -1;
}

std::string LowerAscii(std::string_view text) {
  std::string lowered(text);
  for (std::size_t i = 0; i < lowered.size(); i += CharLengthAt(lowered, i)) {
    lowered[i] = FoldAscii(lowered[i]);
  }
  return lowered;
}

std::string TrimText(std::string_view text) {
  // Walk once to learn where the first and the last non-space characters lie.
  std::size_t first = text.size();
  std::size_t end = 0;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t len = CharLengthAt(text, i);
    const bool space = text[i] == ' ' || text.substr(i, len) == kIdeographicSpace;
    if (!space) {
      first = std::min(first, i);
      end = i + len;
    }
    i += len;
  }
  return first < end ? std::string(text.substr(first, end - first)) : std::string();
}

std::string RemoveSpaces(std::string_view text) {
  std::string kept;
  kept.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t len = CharLengthAt(text, i);
    const std::string_view ch = text.substr(i, len);
    if (ch != " " && ch != kIdeographicSpace) kept.append(ch);
    i += len;
  }
  return kept;
}

std::vector<std::string> SplitText(std::string_view text, std::string_view separator) {
  std::vector<std::string> pieces;
  if (text.empty()) return pieces;
  if (separator.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  std::size_t from = 0;
  while (from < text.size()) {
    const long found = FindText(text, separator, static_cast<long>(from) + 1);
    if (found < 0) {
      pieces.emplace_back(text.substr(from));
      break;
    }
    const std::size_t at = static_cast<std::size_t>(found - 1);
    pieces.emplace_back(text.substr(from, at - from));
    from = at + separator.size();
  }
  return pieces;
}

std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with) {
  if (what.empty()) return std::string(text);
  std::string result;
  std::size_t from = 0;
  for (long found; (found = FindText(text, what, static_cast<long>(from) + 1)) > 0;) {
    const std::size_t at = static_cast<std::size_t>(found - 1);
    result.append(text.substr(from, at - from)).append(with);
    from = at + what.size();
  }
  result.append(text.substr(from));
  return result;
}

}  // namespace varnola
