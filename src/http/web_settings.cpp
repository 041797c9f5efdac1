#include "http/web_settings_state.h"

#include <mutex>

#include "http/curl_handle_pool.h"

namespace varnola {
namespace {

struct SettingsStore {
  std::mutex mutex;
  WebSettingsSnapshot current;
};

// Never destroyed, like the other process-wide stores of the exchanges.
SettingsStore& Store() {
  static SettingsStore& store = *new SettingsStore;
  return store;
}

}  // namespace

void SetWebSettings(const WebSettings& settings) {
  SettingsStore& store = Store();
  {
    const std::lock_guard lock(store.mutex);
    store.current.settings = settings;
    ++store.current.generation;
  }
  // Idle connections were made under the old settings (a CA that is no longer trusted,
  // say): close them now rather than when their handles are next borrowed.
  DropIdleHandles();
}

void CloseIdleConnections() { DropIdleHandles(); }

WebSettings CurrentWebSettings() {
  return CurrentWebSettingsSnapshot().settings;
}

WebSettingsSnapshot CurrentWebSettingsSnapshot() {
  SettingsStore& store = Store();
  const std::lock_guard lock(store.mutex);
  return store.current;
}

}  // namespace varnola
