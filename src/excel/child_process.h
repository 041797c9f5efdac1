#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace varnola {

// What a piece of work in a child process may cost at most.
struct ChildLimits {
  std::chrono::milliseconds wallTime{60'000};
  unsigned cpuSeconds = 60;
  // Address space the child may add to what the process already maps.
  std::uint64_t extraAddressSpace = 2ull << 30;
  std::size_t maxOutput = 256u << 20;
};

enum class ChildOutcome {
  Finished,        // the work returned 0 and everything it wrote arrived
  Failed,          // the work returned another number
  Crashed,         // the child died of a signal
  TimedOut,        // over the wall or processor time; the child was killed
  OutputTooLarge,  // it wrote more than allowed; the child was killed
  NotStarted,      // no child could be made
};

struct ChildResult {
  ChildOutcome outcome = ChildOutcome::NotStarted;
  std::string output;
};

// The child's end of the pipe back to the caller.
class ChildWriter {
 public:
  explicit ChildWriter(int fd) : m_fd(fd) {}
  void Write(std::string_view bytes);
  // False once the caller stopped listening.
  bool Flush();

 private:
  int m_fd;
  std::string m_buffer;
  bool m_broken = false;
};

// Runs `work` in a forked child process and collects what it writes. This is for code
// that a hostile file may crash, hang or make allocate without bound (a parser we do not
// own): whatever it does, this process survives and gets an outcome within the limits.
// The child runs only `work` and then ends without running exit handlers; `work` should
// do nothing but compute and write (no threads, no locks another thread may hold).
ChildResult RunInChild(const std::function<int(ChildWriter&)>& work, const ChildLimits& limits);

}  // namespace varnola
