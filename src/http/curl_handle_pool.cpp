#include "http/curl_handle_pool.h"

#include <mutex>
#include <vector>

#include "http/exchange_control.h"
#include "http/web_settings_state.h"

namespace varnola {
namespace {

// Enough for the window's thread and a few fetch threads; pairs beyond it are closed when
// given back.
constexpr std::size_t kMaxIdlePairs = 8;

struct HandlePool {
  std::mutex mutex;
  std::vector<CurlHandles> idle;
};

// Never destroyed: a detached fetch thread may still finish an exchange while the process
// exits.
HandlePool& Pool() {
  static HandlePool& pool = *new HandlePool;
  return pool;
}

void Destroy(CurlHandles& handles) {
  if (handles.multi != nullptr) curl_multi_cleanup(handles.multi);
  if (handles.easy != nullptr) curl_easy_cleanup(handles.easy);
  handles = {};
}

void DestroyAll(std::vector<CurlHandles>& pairs) {
  for (CurlHandles& handles : pairs) Destroy(handles);
  pairs.clear();
}

}  // namespace

void EnsureCurlInitialised() {
  static const bool initialised = [] {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    return true;
  }();
  (void)initialised;
}

HandleLease::HandleLease(std::uint64_t settingsGeneration) {
  EnsureCurlInitialised();
  std::vector<CurlHandles> stale;
  {
    HandlePool& pool = Pool();
    const std::lock_guard lock(pool.mutex);
    while (!pool.idle.empty()) {
      CurlHandles candidate = pool.idle.back();
      pool.idle.pop_back();
      if (candidate.settingsGeneration == settingsGeneration) {
        m_handles = candidate;
        break;
      }
      stale.push_back(candidate);
    }
  }
  DestroyAll(stale);
  if (Valid()) return;

  m_handles.easy = curl_easy_init();
  m_handles.multi = curl_multi_init();
  m_handles.settingsGeneration = settingsGeneration;
  if (!Valid()) Destroy(m_handles);
}

HandleLease::~HandleLease() {
  if (!Valid()) return;
  if (!WebRequestsShutDown() &&
      m_handles.settingsGeneration == CurrentWebSettingsSnapshot().generation) {
    HandlePool& pool = Pool();
    const std::lock_guard lock(pool.mutex);
    if (pool.idle.size() < kMaxIdlePairs) {
      pool.idle.push_back(m_handles);
      return;
    }
  }
  Destroy(m_handles);
}

void DropIdleHandles() {
  std::vector<CurlHandles> idle;
  {
    HandlePool& pool = Pool();
    const std::lock_guard lock(pool.mutex);
    idle.swap(pool.idle);
  }
  DestroyAll(idle);
}

}  // namespace varnola
