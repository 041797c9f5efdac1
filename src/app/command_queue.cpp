#include "app/command_queue.h"

#include <utility>

namespace varnola {

CommandQueue::CommandQueue(WorkerTasks& tasks, PostToUiThread postToUiThread)
    : m_tasks(tasks), m_postToUiThread(std::move(postToUiThread)) {}

void CommandQueue::Submit(RunsOn where, std::function<void()> command) {
  {
    std::lock_guard lock(m_mutex);
    if (m_closed) return;
    m_waiting.push_back(Entry{where, std::move(command)});
    if (m_running) return;
    m_running = true;
  }
  StartNext();
}

void CommandQueue::Close() {
  std::lock_guard lock(m_mutex);
  m_closed = true;
  m_waiting.clear();
}

int CommandQueue::WaitingCount() const {
  std::lock_guard lock(m_mutex);
  return static_cast<int>(m_waiting.size());
}

// Called with m_running set: the caller owns the turn and hands it on.
void CommandQueue::StartNext() {
  for (;;) {
    Entry next;
    {
      std::lock_guard lock(m_mutex);
      if (m_closed || m_waiting.empty()) {
        m_running = false;
        return;
      }
      next = std::move(m_waiting.front());
      m_waiting.pop_front();
    }
    auto run = [this, command = std::move(next.command)] { Run(command); };
    if (next.where == RunsOn::UiThread) {
      m_postToUiThread(std::move(run));
      return;
    }
    if (m_tasks.StartWorkerTask(std::move(run))) return;
    // No thread for it: the click has no effect and the next command gets its turn.
  }
}

void CommandQueue::Run(const std::function<void()>& command) {
  bool closed = false;
  {
    std::lock_guard lock(m_mutex);
    closed = m_closed;
  }
  if (!closed) {
    try {
      command();
    } catch (...) {
      // Commands report nothing; the queue must go on to the next one.
    }
  }
  StartNext();
}

}  // namespace varnola
