// The child process that third-party readers run in: whatever the work does, the caller
// gets its outcome back and survives.
#include "excel/child_process.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <csignal>
#include <string>

namespace varnola {
namespace {

using std::chrono::milliseconds;

struct ChildCase {
  const char* name;
  std::function<int(ChildWriter&)> work;
  ChildOutcome outcome;
  std::string output;
};

TEST(ChildProcessTest, EveryEndOfTheWorkGivesItsOutcome) {
  const ChildLimits limits{.wallTime = milliseconds(500), .cpuSeconds = 5, .maxOutput = 1 << 20};
  const ChildCase cases[] = {
      {"finishes",
       [](ChildWriter& out) {
         out.Write("cells");
         out.Write(std::string(100'000, 'x'));  // more than one flush
         return 0;
       },
       ChildOutcome::Finished, "cells" + std::string(100'000, 'x')},
      {"gives up",
       [](ChildWriter& out) {
         out.Write("half");
         return 4;
       },
       ChildOutcome::Failed, ""},
      // As a reader that runs over its buffers ends: killed by a signal (one that no
      // sanitizer turns into an exit status).
      {"crashes",
       [](ChildWriter& out) {
         out.Write("half");
         out.Flush();
         ::raise(SIGKILL);
         return 0;
       },
       ChildOutcome::Crashed, ""},
      {"loops forever",
       [](ChildWriter&) {
         for (;;) ::pause();
         return 0;
       },
       ChildOutcome::TimedOut, ""},
      {"writes without end",
       [](ChildWriter& out) {
         const std::string block(64 * 1024, 'x');
         for (;;) {
           out.Write(block);
           if (!out.Flush()) return 5;
         }
       },
       ChildOutcome::OutputTooLarge, ""},
  };
  for (const ChildCase& c : cases) {
    const ChildResult result = RunInChild(c.work, limits);
    EXPECT_EQ(result.outcome, c.outcome) << c.name;
    EXPECT_EQ(result.output, c.output) << c.name;
  }
}

TEST(ChildProcessTest, ProcessorTimeIsLimitedToo) {
  const ChildLimits limits{.wallTime = milliseconds(60'000), .cpuSeconds = 1};
  const ChildResult result = RunInChild(
      [](ChildWriter&) {
        volatile unsigned long spins = 0;
        for (;;) spins = spins + 1;
        return 0;
      },
      limits);
  EXPECT_EQ(result.outcome, ChildOutcome::TimedOut);
}

TEST(ChildProcessTest, TheChildLeavesNoProcessBehind) {
  const ChildLimits limits{.wallTime = milliseconds(200)};
  for (int i = 0; i < 5; ++i) {
    RunInChild([](ChildWriter&) { return 0; }, limits);
    RunInChild(
        [](ChildWriter&) {
          for (;;) ::pause();
          return 0;
        },
        limits);
  }
  // Every child has been waited for: there is none left to wait for.
  errno = 0;
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

}  // namespace
}  // namespace varnola
