#include "sim/request_log.h"

#include <algorithm>

namespace varnola::sim {
namespace {

bool SameLetters(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return lower(x) == lower(y);
  });
}

}  // namespace

std::string RecordedRequest::Header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (SameLetters(key, name)) return value;
  }
  return {};
}

void RequestLog::Add(RecordedRequest request) {
  std::lock_guard lock(m_mutex);
  request.sequence = m_nextSequence++;
  auto& requests = m_requests[static_cast<std::size_t>(request.host)];
  requests.push_back(std::move(request));
  while (requests.size() > m_capacity) requests.pop_front();
}

std::vector<RecordedRequest> RequestLog::Requests(SimHost host) const {
  std::lock_guard lock(m_mutex);
  const auto& requests = m_requests[static_cast<std::size_t>(host)];
  return {requests.begin(), requests.end()};
}

std::vector<RecordedRequest> RequestLog::Requests(SimHost first, SimHost second) const {
  std::vector<RecordedRequest> merged = Requests(first);
  std::vector<RecordedRequest> more = Requests(second);
  merged.insert(merged.end(), more.begin(), more.end());
  std::sort(merged.begin(), merged.end(),
            [](const auto& a, const auto& b) { return a.sequence < b.sequence; });
  return merged;
}

void RequestLog::Clear() {
  std::lock_guard lock(m_mutex);
  for (auto& requests : m_requests) requests.clear();
}

}  // namespace varnola::sim
