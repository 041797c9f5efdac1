#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <list>
#include <mutex>
#include <thread>

namespace varnola {

// The threads that run long commands beside the window. Every task is tracked so that the
// exit can wait for all of them before it destroys what they use.
class WorkerTasks {
 public:
  WorkerTasks() = default;
  WorkerTasks(const WorkerTasks&) = delete;
  WorkerTasks& operator=(const WorkerTasks&) = delete;
  // Waits for the tasks that are still running.
  ~WorkerTasks();

  // Runs `routine` on a new thread and returns at once. False, and nothing runs, when the
  // thread cannot be created or the tasks are being joined.
  bool StartWorkerTask(std::function<void()> routine);

  // Refuses new tasks and returns once every task has ended. `whileWaiting` runs on the
  // calling thread between short waits, so that the caller can keep serving what the tasks
  // wait for.
  void JoinAll(const std::function<void()>& whileWaiting = {});

  int RunningCount() const;

 private:
  struct Task {
    std::thread thread;
    bool done = false;
  };

  // Takes the ended tasks out of the list; the caller joins them outside the lock.
  std::list<Task> TakeEndedLocked();

  mutable std::mutex m_mutex;
  std::condition_variable m_ended;
  std::list<Task> m_tasks;
  bool m_closed = false;
};

}  // namespace varnola
