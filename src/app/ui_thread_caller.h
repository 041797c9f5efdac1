#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

#include <QMetaObject>
#include <QObject>

namespace varnola {

// The one place that carries calls to the UI thread. On the UI thread a call runs directly;
// from another thread it is run by the UI thread's event loop while the caller waits, and
// returns once it took effect. Once the window closes, calls from other threads return at
// once with an empty result, so that no task can hang the exit.
class UiThreadCaller {
 public:
  // Must be created on the UI thread.
  UiThreadCaller();
  UiThreadCaller(const UiThreadCaller&) = delete;
  UiThreadCaller& operator=(const UiThreadCaller&) = delete;
  ~UiThreadCaller();

  bool OnUiThread() const;
  bool Closing() const { return m_closing.load(); }
  void BeginClosing() { m_closing.store(true); }

  // Runs `f` on the UI thread and returns its result; `fallback` when the window is closing.
  template <typename F>
  std::invoke_result_t<F> Call(F&& f, std::invoke_result_t<F> fallback) {
    if (OnUiThread()) return f();
    std::invoke_result_t<F> result = std::move(fallback);
    CallBlocking([&] { result = f(); });
    return result;
  }

  template <typename F>
  std::invoke_result_t<F> Call(F&& f) {
    using Result = std::invoke_result_t<F>;
    if constexpr (std::is_void_v<Result>) {
      if (OnUiThread()) return f();
      CallBlocking([&] { f(); });
    } else {
      return Call(std::forward<F>(f), Result{});
    }
  }

  // Queues a routine for the UI thread's event loop; returns at once, from any thread.
  void Post(std::function<void()> routine);

  // Runs the calls that other threads are waiting for; for the UI thread while it waits
  // for the tasks at exit.
  void ServeWaitingCalls();

 private:
  void CallBlocking(const std::function<void()>& routine);

  std::unique_ptr<QObject> m_context;  // lives on the UI thread; receives the calls
  std::atomic<bool> m_closing{false};
};

}  // namespace varnola
