#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <type_traits>
#include <utility>

#include <QObject>

namespace varnola {

// The one place that carries calls to the UI thread. On the UI thread a call runs directly;
// from another thread it is run by the UI thread's event loop while the caller waits, and
// returns once it took effect. Once the window closes, calls from other threads return at
// once with an empty result, so that no task can hang the exit.
//
// The calls travel through a queue of its own under a standard mutex, and the UI thread is
// only woken through Qt's event queue: every hand-over is then one that ThreadSanitizer can
// follow (Qt's own locking is invisible to it unless Qt was built with it).
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

  // Runs the routines handed over so far, the calls that other threads wait for among
  // them; for the UI thread while it waits for the tasks at exit.
  void ServeWaitingCalls();

 private:
  struct Waiter;
  struct HandedOver {
    std::function<void()> routine;
    std::shared_ptr<Waiter> waiter;  // set for a call whose caller waits
  };

  void CallBlocking(const std::function<void()>& routine);
  void HandOver(HandedOver entry);

  std::mutex m_mutex;
  std::deque<HandedOver> m_handedOver;
  std::unique_ptr<QObject> m_context;  // lives on the UI thread; woken for each hand-over
  std::atomic<bool> m_closing{false};
};

}  // namespace varnola
