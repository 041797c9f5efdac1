#include "http/url_parts.h"

#include <algorithm>

#include "http/local_text.h"
#include "http/text_between.h"

namespace varnola {

std::string UrlHost(std::string_view url, bool keepPort) {
  std::string lowered = LowerAscii(url);
  if (lowered.empty() || lowered.back() != '/') lowered.push_back('/');

  std::string host;
  if (lowered.starts_with("https://")) {
    host = TextBetween(lowered, "https://", "/");
  } else {
    if (!ContainsText(lowered, "http://")) lowered.insert(0, "http://");
    host = TextBetween(lowered, "http://", "/");
  }
  if (!keepPort) {
    if (const long colon = FindText(host, ":"); colon > 0) host.resize(colon - 1);
  }
  return host;
}

bool IsSecureUrl(std::string_view url) { return LowerAscii(url.substr(0, 5)) == "https"; }

int UrlPort(std::string_view url) {
  const std::string host = UrlHost(url, true);
  const std::size_t colon = host.rfind(':');
  if (colon == std::string::npos) return IsSecureUrl(url) ? 443 : 80;

  // The decimal number at the start of the text after the last ":"; 0 without digits.
  // A number too large for a port saturates (and the connection then fails) rather than
  // overflowing.
  constexpr int kSaturated = 1'000'000;
  int port = 0;
  for (std::size_t i = colon + 1; i < host.size() && host[i] >= '0' && host[i] <= '9'; ++i) {
    port = std::min(port * 10 + (host[i] - '0'), kSaturated);
  }
  return port;
}

std::string UrlPath(std::string_view url) {
  const std::string host = UrlHost(url);
  long from = FindText(url, host, 1, true);
  if (from < 0) from = 1;
  const long slash = FindText(url, "/", from);
  if (slash < 0) return "/";
  return std::string(url.substr(static_cast<std::size_t>(slash - 1)));
}

}  // namespace varnola
