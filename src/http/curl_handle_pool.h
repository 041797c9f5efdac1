#pragma once

#include <cstdint>

#include <curl/curl.h>

namespace varnola {

// Initialises libcurl once for the process; safe to call from any thread.
void EnsureCurlInitialised();

// One reusable pair: an easy handle and the multi handle that drives it. The multi
// handle holds the pair's live connections, so an exchange that borrows the pair reuses
// the connections the previous exchanges left open.
struct CurlHandles {
  CURL* easy = nullptr;
  CURLM* multi = nullptr;
  std::uint64_t settingsGeneration = 0;
};

// Borrows an idle pair made under the given settings, or makes a new one, and gives it
// back to the pool when it ends. A pair made under older settings is never reused.
class HandleLease {
 public:
  explicit HandleLease(std::uint64_t settingsGeneration);
  ~HandleLease();
  HandleLease(const HandleLease&) = delete;
  HandleLease& operator=(const HandleLease&) = delete;

  bool Valid() const { return m_handles.easy != nullptr && m_handles.multi != nullptr; }
  CURL* Easy() const { return m_handles.easy; }
  CURLM* Multi() const { return m_handles.multi; }

 private:
  CurlHandles m_handles;
};

// Closes every idle pair and its connections.
void DropIdleHandles();

}  // namespace varnola
