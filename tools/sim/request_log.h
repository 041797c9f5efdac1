#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace varnola::sim {

// The four hosts of the simulator.
enum class SimHost { Backend, Image, Detect, Query };

// One request as it arrived, for tests that check what a client sent.
struct RecordedRequest {
  std::uint64_t sequence = 0;  // arrival order across all hosts
  SimHost host = SimHost::Backend;
  std::string method;
  std::string target;  // path and query exactly as received
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;

  // The first header of that name, compared without regard to case; empty when absent.
  std::string Header(std::string_view name) const;
};

// The latest requests of each host, oldest first; thread-safe. Each host keeps at most
// `capacity` of them, so a long benchmark does not grow memory.
class RequestLog {
 public:
  explicit RequestLog(std::size_t capacity = 4096) : m_capacity(capacity) {}

  void Add(RecordedRequest request);
  std::vector<RecordedRequest> Requests(SimHost host) const;
  // The requests of several hosts merged in arrival order.
  std::vector<RecordedRequest> Requests(SimHost first, SimHost second) const;
  void Clear();

 private:
  static constexpr std::size_t kHosts = 4;

  const std::size_t m_capacity;
  mutable std::mutex m_mutex;
  std::uint64_t m_nextSequence = 0;
  std::deque<RecordedRequest> m_requests[kHosts];
};

}  // namespace varnola::sim
