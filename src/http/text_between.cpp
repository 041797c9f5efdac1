#include "http/text_between.h"

#include "http/local_text.h"

namespace varnola {

std::string TextBetween(std::string_view text, std::string_view left, std::string_view right,
                        long start, bool ignoreCase) {
  const std::string leftMarker = ReplaceAll(left, kQuotePlaceholder, "\"");
  const std::string rightMarker = ReplaceAll(right, kQuotePlaceholder, "\"");
  if (rightMarker.empty()) return {};

  const long leftAt = FindText(text, leftMarker, start, ignoreCase);
  if (leftAt < 0) return {};
  const long contentAt = leftAt + static_cast<long>(leftMarker.size());
  const long rightAt = FindText(text, rightMarker, contentAt, ignoreCase);
  if (rightAt < 0) return {};
  return std::string(text.substr(static_cast<std::size_t>(contentAt - 1),
                                 static_cast<std::size_t>(rightAt - contentAt)));
}

}  // namespace varnola
