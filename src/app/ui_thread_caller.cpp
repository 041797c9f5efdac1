#include "app/ui_thread_caller.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

namespace varnola {

UiThreadCaller::UiThreadCaller() : m_context(std::make_unique<QObject>()) {}

UiThreadCaller::~UiThreadCaller() = default;

bool UiThreadCaller::OnUiThread() const {
  return QThread::currentThread() == m_context->thread();
}

void UiThreadCaller::CallBlocking(const std::function<void()>& routine) {
  if (Closing()) return;
  // The check is repeated on the UI thread: a call queued just before the window closed is
  // served while the UI thread waits for the tasks, and must not touch the window then.
  QMetaObject::invokeMethod(
      m_context.get(),
      [this, &routine] {
        if (!Closing()) routine();
      },
      Qt::BlockingQueuedConnection);
}

void UiThreadCaller::Post(std::function<void()> routine) {
  QMetaObject::invokeMethod(m_context.get(), std::move(routine), Qt::QueuedConnection);
}

void UiThreadCaller::ServeWaitingCalls() {
  QCoreApplication::sendPostedEvents(m_context.get(), QEvent::MetaCall);
}

}  // namespace varnola
