#pragma once

#include <string>
#include <vector>

#include "http/byte_buffer.h"

namespace varnola {

enum class HttpMethod { kGet, kPost, kHead };

// One exchange as the request routine has prepared it.
struct ExchangeRequest {
  std::string url;  // from RequestUrl: scheme, host, port and escaped path
  HttpMethod method = HttpMethod::kGet;
  std::string agent;
  std::vector<std::string> headerLines;
  const ByteBuffer* body = nullptr;  // sent by POST and HEAD; must outlive the exchange
  bool useCookieStore = true;        // false: no stored cookie is sent or kept
  bool followRedirects = true;
  std::string proxy;  // "host:port" of an HTTP proxy; empty: direct
};

struct ExchangeResult {
  bool completed = false;
  ByteBuffer body;
  std::string rawHeaders;  // the final response's header lines joined by "\r\n"
};

// Runs the exchange under the current settings. A failed exchange (no connection, time-out,
// TLS failure, cancellation, a body over the limit) gives an empty, not completed result.
ExchangeResult PerformExchange(const ExchangeRequest& request);

}  // namespace varnola
