// The URL functions and the URL an exchange is finally made with.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "http/request_url.h"
#include "http/url_parts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace varnola;
  const std::string_view url(reinterpret_cast<const char*>(data), size);

  const std::string host = UrlHost(url);
  const std::string hostAndPort = UrlHost(url, true);
  if (fuzz::IsWellFormedLocal(url)) {
    fuzz::Require(host.find('/') == std::string::npos, "a host holds no slash");
  }
  fuzz::Require(hostAndPort.starts_with(host), "the host with its port begins with the host");
  fuzz::Require(UrlPort(url) >= 0, "a port is never negative");
  const std::string path = UrlPath(url);
  fuzz::Require(path.starts_with("/"), "a path begins with a slash");
  (void)IsSecureUrl(url);

  // Whatever the URL holds, what goes on the request line has no byte that could end the
  // line or leave the ASCII range.
  const std::string request = RequestUrl(url);
  for (const char c : request) {
    const auto byte = static_cast<unsigned char>(c);
    fuzz::Require(byte > 0x20 && byte < 0x7F, "the request URL is printable ASCII");
  }
  return 0;
}
