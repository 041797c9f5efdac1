#include "app/command_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace varnola {
namespace {

using RunsOn = CommandQueue::RunsOn;
constexpr auto kPatience = std::chrono::seconds(30);  // only bounds a broken test

// Stands in for the UI thread's event loop: posted routines wait until the test runs them.
class FakeUiLoop {
 public:
  void Post(std::function<void()> routine) {
    std::lock_guard lock(m_mutex);
    m_posted.push_back(std::move(routine));
    m_changed.notify_all();
  }
  // Waits for one posted routine and runs it on the calling thread.
  bool RunNext() {
    std::function<void()> routine;
    {
      std::unique_lock lock(m_mutex);
      if (!m_changed.wait_for(lock, kPatience, [&] { return !m_posted.empty(); })) return false;
      routine = std::move(m_posted.front());
      m_posted.erase(m_posted.begin());
    }
    routine();
    return true;
  }
  int Waiting() {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_posted.size());
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::vector<std::function<void()>> m_posted;
};

// Records which commands ran, where, and how many ran at once.
class Journal {
 public:
  std::function<void()> Entry(std::string name) {
    return [this, name] {
      const int now = ++m_running;
      int seen = m_mostAtOnce.load();
      while (now > seen && !m_mostAtOnce.compare_exchange_weak(seen, now)) {
      }
      {
        std::lock_guard lock(m_mutex);
        m_names.push_back(name);
        m_onTestThread.push_back(std::this_thread::get_id() == m_testThread);
      }
      m_changed.notify_all();
      --m_running;
    };
  }
  bool WaitFor(std::size_t count) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, kPatience, [&] { return m_names.size() >= count; });
  }
  std::vector<std::string> Names() {
    std::lock_guard lock(m_mutex);
    return m_names;
  }
  std::vector<bool> OnTestThread() {
    std::lock_guard lock(m_mutex);
    return m_onTestThread;
  }
  int MostAtOnce() const { return m_mostAtOnce.load(); }

 private:
  std::thread::id m_testThread = std::this_thread::get_id();
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::vector<std::string> m_names;
  std::vector<bool> m_onTestThread;
  std::atomic<int> m_running{0};
  std::atomic<int> m_mostAtOnce{0};
};

struct QueueFixture : ::testing::Test {
  WorkerTasks tasks;
  FakeUiLoop ui;
  CommandQueue queue{tasks, [this](std::function<void()> r) { ui.Post(std::move(r)); }};
  Journal journal;
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::promise<void> heldStarted;

  // A worker command that holds its turn until the test releases it.
  std::function<void()> Held(std::string name) {
    return [this, entry = journal.Entry(std::move(name))] {
      heldStarted.set_value();
      released.wait();
      entry();
    };
  }
};

TEST_F(QueueFixture, CommandsRunOneAtATimeInClickOrderOnTheirOwnThreads) {
  queue.Submit(RunsOn::Worker, Held("awaiting payment"));
  queue.Submit(RunsOn::UiThread, journal.Entry("all orders"));
  queue.Submit(RunsOn::Worker, journal.Entry("details"));
  queue.Submit(RunsOn::UiThread, journal.Entry("import"));

  // While the first runs, the others only wait: nothing posted, no other thread.
  EXPECT_EQ(queue.WaitingCount(), 3);
  EXPECT_EQ(ui.Waiting(), 0);
  EXPECT_EQ(tasks.RunningCount(), 1);

  release.set_value();
  ASSERT_TRUE(ui.RunNext());  // "all orders", on the UI thread
  ASSERT_TRUE(ui.RunNext());  // "import", once the worker "details" has ended
  ASSERT_TRUE(journal.WaitFor(4));
  tasks.JoinAll();

  EXPECT_EQ(journal.Names(),
            (std::vector<std::string>{"awaiting payment", "all orders", "details", "import"}));
  EXPECT_EQ(journal.OnTestThread(), (std::vector<bool>{false, true, false, true}));
  EXPECT_EQ(journal.MostAtOnce(), 1);
  EXPECT_EQ(queue.WaitingCount(), 0);
}

TEST_F(QueueFixture, ClosingDropsTheWaitingCommandsAndRefusesNewOnes) {
  queue.Submit(RunsOn::Worker, Held("running"));
  queue.Submit(RunsOn::Worker, journal.Entry("waiting"));
  queue.Submit(RunsOn::UiThread, journal.Entry("waiting on the UI thread"));
  heldStarted.get_future().wait();
  queue.Close();
  queue.Submit(RunsOn::Worker, journal.Entry("after close"));
  release.set_value();
  tasks.JoinAll();

  EXPECT_EQ(journal.Names(), std::vector<std::string>{"running"});
  EXPECT_EQ(ui.Waiting(), 0);
}

TEST_F(QueueFixture, AFailingCommandHandsTheTurnOn) {
  queue.Submit(RunsOn::Worker, [] { throw std::runtime_error("no page"); });
  queue.Submit(RunsOn::Worker, journal.Entry("next"));
  ASSERT_TRUE(journal.WaitFor(1));
  tasks.JoinAll();
  EXPECT_EQ(journal.Names(), std::vector<std::string>{"next"});
}

TEST(WorkerTasksTest, JoinAllWaitsForEveryTaskAndThenRefusesNewOnes) {
  WorkerTasks tasks;
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::atomic<int> finished{0};
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(tasks.StartWorkerTask([&, released] {
      released.wait();
      ++finished;
    }));
  }
  EXPECT_EQ(tasks.RunningCount(), 3);

  int waits = 0;
  tasks.JoinAll([&] {
    // What the UI thread does while it waits: here, let the tasks go on the first round.
    if (waits++ == 0) release.set_value();
  });
  EXPECT_EQ(finished.load(), 3);
  EXPECT_EQ(tasks.RunningCount(), 0);
  EXPECT_FALSE(tasks.StartWorkerTask([&] { ++finished; }));
  EXPECT_EQ(finished.load(), 3);
}

}  // namespace
}  // namespace varnola
