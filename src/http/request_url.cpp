#include "http/request_url.h"

#include "http/encodings.h"
#include "http/local_text.h"
#include "http/url_parts.h"

namespace varnola {
namespace {

constexpr int kHttpPort = 80;
constexpr int kHttpsPort = 443;
constexpr int kLastPort = 65535;

bool IsHostNameByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_';
}

bool IsHostName(std::string_view host) {
  if (host.empty()) return false;
  for (char c : host) {
    if (!IsHostNameByte(c)) return false;
  }
  return true;
}

bool MustEscapeAscii(unsigned char c) {
  if (c <= 0x20 || c == 0x7F) return true;
  constexpr std::string_view kUnsafe = "\"<>\\^`{|}";
  return kUnsafe.find(static_cast<char>(c)) != std::string_view::npos;
}

void AppendEscaped(std::string& out, std::string_view bytes) {
  constexpr char kHex[] = "0123456789ABCDEF";
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    out.push_back('%');
    out.push_back(kHex[byte >> 4]);
    out.push_back(kHex[byte & 0x0F]);
  }
}

}  // namespace

std::string EscapeRequestTarget(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  std::size_t pos = 0;
  while (pos < path.size()) {
    const auto byte = static_cast<unsigned char>(path[pos]);
    if (byte < 0x80) {
      if (MustEscapeAscii(byte)) {
        AppendEscaped(out, path.substr(pos, 1));
      } else {
        out.push_back(path[pos]);
      }
      ++pos;
      continue;
    }
    // A run of non-ASCII characters is converted in one go; a character's trailing bytes
    // may be ASCII, so the run is walked character by character.
    const std::size_t runStart = pos;
    while (pos < path.size() && static_cast<unsigned char>(path[pos]) >= 0x80) {
      pos += CharLengthAt(path, pos);
    }
    AppendEscaped(out, LocalToUtf8(path.substr(runStart, pos - runStart)));
  }
  return out;
}

std::string RequestUrl(std::string_view url) {
  const std::string host = UrlHost(url);
  if (!IsHostName(host)) return {};

  const bool secure = IsSecureUrl(url);
  const int defaultPort = secure ? kHttpsPort : kHttpPort;
  int port = UrlPort(url);
  if (port == 0) port = defaultPort;  // "host:" names no port
  if (port > kLastPort) return {};

  std::string result = secure ? "https://" : "http://";
  result.append(host);
  if (port != defaultPort) result.append(":").append(std::to_string(port));
  result.append(EscapeRequestTarget(UrlPath(url)));
  return result;
}

}  // namespace varnola
