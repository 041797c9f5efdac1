#pragma once

#include <string>
#include <string_view>

namespace varnola {

// The URL an exchange is made with: the scheme, the host and the port as the connection
// takes them from the caller's URL, and its path with `EscapeRequestTarget` applied.
// Empty when the host cannot be a host name or the port cannot be a port; the exchange
// then fails like one with an unreachable server.
std::string RequestUrl(std::string_view url);

// The path with the bytes that cannot travel in a request line percent-encoded: space,
// control bytes, the characters "<>\^`{|} and every non-ASCII character, which goes as
// the bytes of its UTF-8 form, as a browser sends it. Everything else, "%" included, is
// left as it stands.
std::string EscapeRequestTarget(std::string_view path);

}  // namespace varnola
