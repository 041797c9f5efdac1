#include "regex/replacement.h"

namespace varnola {
namespace {

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

std::u16string_view Slice(std::u16string_view subject, const MatchSpan& span) {
  if (!span.Found()) return {};
  return subject.substr(static_cast<std::size_t>(span.start), span.Length());
}

}  // namespace

void AppendReplacement(std::u16string& out, std::u16string_view replacement,
                       std::u16string_view subject, std::span<const MatchSpan> match) {
  const int groups = static_cast<int>(match.size()) - 1;
  for (std::size_t i = 0; i < replacement.size(); ++i) {
    const char16_t c = replacement[i];
    if (c != u'$' || i + 1 >= replacement.size()) {
      out += c;
      continue;
    }
    const char16_t next = replacement[i + 1];
    if (next == u'$') {
      out += u'$';
      ++i;
    } else if (next == u'&') {
      out += Slice(subject, match[0]);
      ++i;
    } else if (next == u'`') {
      out += subject.substr(0, static_cast<std::size_t>(match[0].start));
      ++i;
    } else if (next == u'\'') {
      out += subject.substr(static_cast<std::size_t>(match[0].end));
      ++i;
    } else if (IsDigit(next)) {
      const int one = next - u'0';
      const bool hasSecond = i + 2 < replacement.size() && IsDigit(replacement[i + 2]);
      const int two = hasSecond ? one * 10 + (replacement[i + 2] - u'0') : 0;
      if (hasSecond && two >= 1 && two <= groups) {
        out += Slice(subject, match[static_cast<std::size_t>(two)]);
        i += 2;
      } else if (one >= 1 && one <= groups) {
        out += Slice(subject, match[static_cast<std::size_t>(one)]);
        ++i;
      } else {
        out += c;  // "$0", or a group the pattern does not have: the text stands
      }
    } else {
      out += c;
    }
  }
}

}  // namespace varnola
