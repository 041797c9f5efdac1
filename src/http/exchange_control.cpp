#include "http/exchange_control.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

#include "http/curl_handle_pool.h"
#include "http/web_request.h"

namespace varnola {
namespace {

// The exchanges in flight. A cancellation raises the generation and wakes every
// registered multi handle under the same lock that registration takes, so an exchange
// either sees the new generation or is woken.
struct RunningExchanges {
  std::mutex mutex;
  std::vector<CURLM*> multis;
  std::atomic<std::uint64_t> generation{0};
  std::atomic<bool> shutDown{false};
};

// Never destroyed, like the other process-wide stores of the exchanges.
RunningExchanges& Running() {
  static RunningExchanges& running = *new RunningExchanges;
  return running;
}

}  // namespace

CancelWatch::CancelWatch(CURLM* multi) : m_multi(multi) {
  RunningExchanges& running = Running();
  const std::lock_guard lock(running.mutex);
  m_generation = running.generation.load();
  running.multis.push_back(multi);
}

CancelWatch::~CancelWatch() {
  RunningExchanges& running = Running();
  const std::lock_guard lock(running.mutex);
  const auto it = std::find(running.multis.begin(), running.multis.end(), m_multi);
  if (it != running.multis.end()) running.multis.erase(it);
}

bool CancelWatch::Cancelled() const {
  const RunningExchanges& running = Running();
  return running.shutDown.load() || running.generation.load() != m_generation;
}

bool WebRequestsShutDown() {
  return Running().shutDown.load();
}

void CancelRunningWebRequests() {
  RunningExchanges& running = Running();
  const std::lock_guard lock(running.mutex);
  ++running.generation;
  for (CURLM* multi : running.multis) curl_multi_wakeup(multi);
}

void ShutdownWebRequests() {
  Running().shutDown.store(true);
  CancelRunningWebRequests();
  DropIdleHandles();
}

}  // namespace varnola
