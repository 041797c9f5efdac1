#pragma once

#include <deque>
#include <functional>
#include <mutex>

#include "app/worker_tasks.h"

namespace varnola {

// Runs the order commands and the import one at a time, in the order they were started. A
// command started while another runs waits for its turn; nothing is lost or interleaved.
// Nobody ever blocks while waiting: a waiting command is only a queue entry, and a command
// for the UI thread is posted to it when its turn comes.
class CommandQueue {
 public:
  enum class RunsOn { Worker, UiThread };
  // Hands a routine to the UI thread's event loop and returns at once.
  using PostToUiThread = std::function<void(std::function<void()>)>;

  CommandQueue(WorkerTasks& tasks, PostToUiThread postToUiThread);
  CommandQueue(const CommandQueue&) = delete;
  CommandQueue& operator=(const CommandQueue&) = delete;

  void Submit(RunsOn where, std::function<void()> command);

  // Drops the waiting commands and refuses new ones; a running command runs to its end.
  void Close();

  // Commands waiting for their turn, not counting the running one.
  int WaitingCount() const;

 private:
  struct Entry {
    RunsOn where;
    std::function<void()> command;
  };

  void StartNext();
  void Run(const std::function<void()>& command);

  WorkerTasks& m_tasks;
  PostToUiThread m_postToUiThread;
  mutable std::mutex m_mutex;
  std::deque<Entry> m_waiting;
  bool m_running = false;
  bool m_closed = false;
};

}  // namespace varnola
