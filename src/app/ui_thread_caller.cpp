#include "app/ui_thread_caller.h"

#include <condition_variable>

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

namespace varnola {
namespace {

// Serves the hand-overs whenever an event reaches it. It does not look at the event: the
// event only wakes the UI thread, and what it is to do comes from the caller's queue.
class Receiver final : public QObject {
 public:
  explicit Receiver(UiThreadCaller& caller) : m_caller(caller) {}

  bool event(QEvent* event) override {
    m_caller.ServeWaitingCalls();
    return QObject::event(event);
  }

 private:
  UiThreadCaller& m_caller;
};

}  // namespace

// What a waiting caller and the UI thread share; it outlives either side's use of it.
struct UiThreadCaller::Waiter {
  std::mutex mutex;
  std::condition_variable served;
  bool done = false;

  void Release() {
    {
      std::lock_guard lock(mutex);
      done = true;
    }
    served.notify_all();
  }
};

UiThreadCaller::UiThreadCaller() : m_context(std::make_unique<Receiver>(*this)) {}

UiThreadCaller::~UiThreadCaller() {
  // Nobody is left waiting by design (the window joins its tasks first); should a caller
  // still wait, it is let go without its routine.
  std::lock_guard lock(m_mutex);
  for (HandedOver& entry : m_handedOver) {
    if (entry.waiter) entry.waiter->Release();
  }
  m_handedOver.clear();
}

bool UiThreadCaller::OnUiThread() const {
  return QThread::currentThread() == m_context->thread();
}

void UiThreadCaller::HandOver(HandedOver entry) {
  {
    std::lock_guard lock(m_mutex);
    m_handedOver.push_back(std::move(entry));
  }
  QCoreApplication::postEvent(m_context.get(), new QEvent(QEvent::User));
}

void UiThreadCaller::CallBlocking(const std::function<void()>& routine) {
  if (Closing()) return;
  auto waiter = std::make_shared<Waiter>();
  // The check is repeated on the UI thread: a call handed over just before the window
  // closed is served while the UI thread waits for the tasks, and must not touch the
  // window then.
  HandOver({[this, &routine] {
              if (!Closing()) routine();
            },
            waiter});
  std::unique_lock lock(waiter->mutex);
  waiter->served.wait(lock, [&] { return waiter->done; });
}

void UiThreadCaller::Post(std::function<void()> routine) {
  HandOver({std::move(routine), nullptr});
}

void UiThreadCaller::ServeWaitingCalls() {
  for (;;) {
    HandedOver next;
    {
      std::lock_guard lock(m_mutex);
      if (m_handedOver.empty()) return;
      next = std::move(m_handedOver.front());
      m_handedOver.pop_front();
    }
    if (!next.waiter) {
      next.routine();
      continue;
    }
    // The caller goes on even if the routine throws.
    struct ReleaseWhenDone {
      Waiter& waiter;
      ~ReleaseWhenDone() { waiter.Release(); }
    } release{*next.waiter};
    next.routine();
  }
}

}  // namespace varnola
