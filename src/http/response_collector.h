#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include <curl/curl.h>

#include "http/byte_buffer.h"

namespace varnola {

// Gathers what one transfer receives: the body, the header block of the latest response
// (earlier blocks of redirects and interim responses are replaced by later ones), and
// when anything last arrived. A body or a header block beyond the size limit aborts the
// transfer.
class ResponseCollector {
 public:
  using Clock = std::chrono::steady_clock;

  // `stopAfterHeaders`: end the transfer once the head of a final response is in, for a
  // HEAD that carries a body and so cannot tell libcurl that no response body follows.
  ResponseCollector(std::size_t maxBytes, bool stopAfterHeaders);
  ResponseCollector(const ResponseCollector&) = delete;
  ResponseCollector& operator=(const ResponseCollector&) = delete;

  // Routes the easy handle's body and header data here.
  void Attach(CURL* easy);

  Clock::time_point LastActivity() const { return m_lastActivity; }
  bool StoppedAfterHeaders() const { return m_stoppedAfterHeaders; }
  int Status() const { return m_status; }
  const std::string& Location() const { return m_location; }

  ByteBuffer TakeBody() { return std::move(m_body); }
  // The header lines of the latest response, status line first, joined by "\r\n".
  std::string TakeHeaders() { return std::move(m_headers); }

 private:
  static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self);
  static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self);
  std::size_t AddBody(const char* data, std::size_t length);
  std::size_t AddHeaderLine(const char* data, std::size_t length);
  void StartResponse(std::string_view statusLine);

  std::size_t m_maxBytes;
  bool m_stopAfterHeaders;
  bool m_stoppedAfterHeaders = false;
  bool m_inHead = false;
  int m_status = 0;
  std::string m_location;
  std::string m_headers;
  ByteBuffer m_body;
  Clock::time_point m_lastActivity = Clock::now();
};

}  // namespace varnola
