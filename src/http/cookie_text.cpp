#include "http/cookie_text.h"

#include <algorithm>
#include <vector>

#include "http/local_text.h"

namespace varnola {

std::string CookieName(std::string_view entry) {
  const std::size_t equals = entry.find('=');
  return TrimText(equals == std::string_view::npos ? entry : entry.substr(0, equals));
}

std::string MergeCookies(CookieText& cookieText, CookieText& returnedCookies) {
  cookieText = RemoveSpaces(cookieText);
  returnedCookies = RemoveSpaces(returnedCookies);

  std::vector<std::string> merged = SplitText(returnedCookies, ";");
  for (std::string& old : SplitText(cookieText, ";")) {
    const std::string name = CookieName(old);
    const bool known = std::any_of(merged.begin(), merged.end(), [&](const std::string& entry) {
      return CookieName(entry) == name;
    });
    if (!known) merged.push_back(std::move(old));
  }

  std::string joined;
  bool first = true;
  for (const std::string& entry : merged) {
    if (entry.ends_with("=deleted")) continue;
    if (!first) joined.append("; ");
    joined.append(entry);
    first = false;
  }
  cookieText = RemoveDuplicateItems(joined, "; ");
  return cookieText;
}

std::string RemoveDuplicateItems(std::string_view text, std::string_view separator) {
  std::vector<std::string> taken;
  std::string result;
  for (std::string& piece : SplitText(text, separator)) {
    if (std::find(taken.begin(), taken.end(), piece) != taken.end()) continue;
    result.append(piece).append(separator);
    taken.push_back(std::move(piece));
  }
  result.resize(result.size() >= separator.size() ? result.size() - separator.size() : 0);
  return result;
}

}  // namespace varnola
