#include "app/worker_tasks.h"

#include <system_error>
#include <utility>

namespace varnola {
namespace {

constexpr auto kJoinPollInterval = std::chrono::milliseconds(10);

}  // namespace

WorkerTasks::~WorkerTasks() {
  JoinAll();
}

bool WorkerTasks::StartWorkerTask(std::function<void()> routine) {
  std::list<Task> ended;
  bool started = false;
  {
    std::lock_guard lock(m_mutex);
    if (m_closed) return false;
    ended = TakeEndedLocked();
    auto task = m_tasks.emplace(m_tasks.end());
    try {
      task->thread = std::thread([this, task, routine = std::move(routine)] {
        try {
          routine();
        } catch (...) {
          // A command reports nothing to anybody; an escaping exception must not end the
          // program or leave the task unjoined.
        }
        std::lock_guard lock(m_mutex);
        task->done = true;
        m_ended.notify_all();
      });
      started = true;
    } catch (const std::system_error&) {
      m_tasks.erase(task);
    }
  }
  for (Task& t : ended) t.thread.join();
  return started;
}

void WorkerTasks::JoinAll(const std::function<void()>& whileWaiting) {
  for (;;) {
    std::list<Task> ended;
    bool empty = false;
    {
      std::unique_lock lock(m_mutex);
      m_closed = true;
      ended = TakeEndedLocked();
      empty = m_tasks.empty();
      if (!empty && ended.empty()) {
        m_ended.wait_for(lock, kJoinPollInterval);
        ended = TakeEndedLocked();
        empty = m_tasks.empty();
      }
    }
    for (Task& t : ended) t.thread.join();
    if (empty) return;
    if (whileWaiting) whileWaiting();
  }
}

int WorkerTasks::RunningCount() const {
  std::lock_guard lock(m_mutex);
  int running = 0;
  for (const Task& t : m_tasks) running += t.done ? 0 : 1;
  return running;
}

std::list<WorkerTasks::Task> WorkerTasks::TakeEndedLocked() {
  std::list<Task> ended;
  for (auto it = m_tasks.begin(); it != m_tasks.end();) {
    auto next = std::next(it);
    if (it->done) ended.splice(ended.end(), m_tasks, it);
    it = next;
  }
  return ended;
}

}  // namespace varnola
