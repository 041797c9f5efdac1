#pragma once

#include <cstdint>

#include <curl/curl.h>

namespace varnola {

// Watches one running exchange for a process-wide cancellation. While it lives, its multi
// handle is woken as soon as the process cancels, so the exchange's wait ends at once.
class CancelWatch {
 public:
  explicit CancelWatch(CURLM* multi);
  ~CancelWatch();
  CancelWatch(const CancelWatch&) = delete;
  CancelWatch& operator=(const CancelWatch&) = delete;

  // Whether the process cancelled exchanges, or shut them down, since the watch began.
  bool Cancelled() const;

 private:
  CURLM* m_multi;
  std::uint64_t m_generation;
};

// Whether ShutdownWebRequests was called: no exchange may start any more.
bool WebRequestsShutDown();

}  // namespace varnola
