#include "http/response_collector.h"

#include "http/local_text.h"

namespace varnola {
namespace {

constexpr std::string_view kLocationLabel = "location:";

// The three-digit code after the version of a status line such as "HTTP/1.1 302 Found".
int StatusCode(std::string_view statusLine) {
  const std::size_t space = statusLine.find(' ');
  if (space == std::string_view::npos) return 0;
  int code = 0;
  for (std::size_t i = space + 1; i < statusLine.size() && i < space + 4; ++i) {
    const char c = statusLine[i];
    if (c < '0' || c > '9') return 0;
    code = code * 10 + (c - '0');
  }
  return code;
}

}  // namespace

ResponseCollector::ResponseCollector(std::size_t maxBytes, bool stopAfterHeaders)
    : m_maxBytes(maxBytes), m_stopAfterHeaders(stopAfterHeaders) {}

void ResponseCollector::Attach(CURL* easy) {
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &ResponseCollector::OnBody);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &ResponseCollector::OnHeader);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
}

std::size_t ResponseCollector::OnBody(char* data, std::size_t size, std::size_t count, void* self) {
  return static_cast<ResponseCollector*>(self)->AddBody(data, size * count);
}

std::size_t ResponseCollector::OnHeader(char* data, std::size_t size, std::size_t count,
                                        void* self) {
  return static_cast<ResponseCollector*>(self)->AddHeaderLine(data, size * count);
}

std::size_t ResponseCollector::AddBody(const char* data, std::size_t length) {
  m_lastActivity = Clock::now();
  if (length > m_maxBytes - m_body.size()) return 0;  // over the limit: abort
  m_body.insert(m_body.end(), data, data + length);
  return length;
}

std::size_t ResponseCollector::AddHeaderLine(const char* data, std::size_t length) {
  m_lastActivity = Clock::now();
  std::string_view line(data, length);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);

  if (!m_inHead) {
    // Outside a response head only trailers arrive; they are not part of the block.
    if (!line.starts_with("HTTP/")) return length;
    StartResponse(line);
  } else if (line.empty()) {
    m_inHead = false;
    const bool interim = m_status >= 100 && m_status < 200;
    if (m_stopAfterHeaders && !interim) {
      m_stoppedAfterHeaders = true;
      return 0;  // ends the transfer without waiting for a body
    }
    return length;
  } else if (line.size() >= kLocationLabel.size() &&
             LowerAscii(line.substr(0, kLocationLabel.size())) == kLocationLabel) {
    m_location = TrimText(line.substr(kLocationLabel.size()));
  }

  if (line.size() + 2 > m_maxBytes - m_headers.size()) return 0;  // over the limit: abort
  if (!m_headers.empty()) m_headers.append("\r\n");
  m_headers.append(line);
  return length;
}

void ResponseCollector::StartResponse(std::string_view statusLine) {
  m_inHead = true;
  m_status = StatusCode(statusLine);
  m_location.clear();
  m_headers.clear();
}

}  // namespace varnola
