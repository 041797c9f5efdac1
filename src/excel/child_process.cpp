#include "excel/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>

namespace varnola {
namespace {

constexpr std::size_t kFlushSize = 64 * 1024;

using Clock = std::chrono::steady_clock;

// The address space the process maps now, in bytes; 0 when it cannot be told. Under a
// sanitizer this includes its shadow memory, reserved when the process started.
std::uint64_t MappedBytes() {
  std::ifstream statm("/proc/self/statm");
  std::uint64_t pages = 0;
  if (!(statm >> pages)) return 0;
  return pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
}

void SetLimit(int resource, rlim_t value) {
  rlimit limit{};
  if (::getrlimit(resource, &limit) != 0) return;
  if (limit.rlim_max != RLIM_INFINITY && limit.rlim_max < value) value = limit.rlim_max;
  limit.rlim_cur = value;
  ::setrlimit(resource, &limit);
}

[[noreturn]] void RunChild(const std::function<int(ChildWriter&)>& work, int fd,
                           const ChildLimits& limits, std::uint64_t mapped) {
  ::signal(SIGPIPE, SIG_DFL);  // a caller that stopped listening ends the child
  // What the work or a sanitizer might print about its end is for nobody: the outcome
  // says what happened.
  if (const int quiet = ::open("/dev/null", O_WRONLY | O_CLOEXEC); quiet >= 0) {
    ::dup2(quiet, STDERR_FILENO);
    ::dup2(quiet, STDOUT_FILENO);
    ::close(quiet);
  }
  ::signal(SIGXCPU, SIG_DFL);  // over the processor time, the child ends
  SetLimit(RLIMIT_CPU, limits.cpuSeconds);
  SetLimit(RLIMIT_CORE, 0);
  if (mapped > 0) SetLimit(RLIMIT_AS, mapped + limits.extraAddressSpace);
  int status = 3;
  try {
    ChildWriter writer(fd);
    status = work(writer);
    if (!writer.Flush()) status = 3;
  } catch (...) {
    status = 2;  // out of memory under the limit, most likely
  }
  ::_exit(status);
}

// Waits for the child to end, killing it when the deadline passes first. When the child
// cannot be waited for (another part of the process reaps children), it counts as having
// finished: the work's output must then show by itself that it is complete.
int Reap(pid_t child, Clock::time_point deadline, bool& killed) {
  int status = 0;
  for (;;) {
    const pid_t done = ::waitpid(child, &status, killed ? 0 : WNOHANG);
    if (done == child) return status;
    if (done < 0 && errno != EINTR) return 0;
    if (!killed && Clock::now() >= deadline) {
      ::kill(child, SIGKILL);
      killed = true;
      continue;
    }
    if (!killed) ::usleep(1000);
  }
}

}  // namespace

void ChildWriter::Write(std::string_view bytes) {
  m_buffer.append(bytes);
  if (m_buffer.size() >= kFlushSize) Flush();
}

bool ChildWriter::Flush() {
  std::size_t done = 0;
  while (!m_broken && done < m_buffer.size()) {
    const ssize_t wrote = ::write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) m_broken = true;
    if (wrote > 0) done += static_cast<std::size_t>(wrote);
  }
  m_buffer.clear();
  return !m_broken;
}

ChildResult RunInChild(const std::function<int(ChildWriter&)>& work, const ChildLimits& limits) {
  ChildResult result;
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return result;
  const std::uint64_t mapped = MappedBytes();
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return result;
  }
  if (child == 0) {
    ::close(fds[0]);
    RunChild(work, fds[1], limits, mapped);
  }
  ::close(fds[1]);

  const Clock::time_point deadline = Clock::now() + limits.wallTime;
  bool killed = false;
  bool tooLarge = false;
  char chunk[64 * 1024];
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) break;
    pollfd ready{fds[0], POLLIN, 0};
    const int polled = ::poll(&ready, 1, static_cast<int>(std::min<long long>(left.count(), 1000)));
    if (polled < 0 && errno != EINTR) break;
    if (polled <= 0) continue;
    const ssize_t got = ::read(fds[0], chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;  // the child closed its end: it has ended or is ending
    if (result.output.size() + static_cast<std::size_t>(got) > limits.maxOutput) {
      tooLarge = true;
      break;
    }
    result.output.append(chunk, static_cast<std::size_t>(got));
  }
  ::close(fds[0]);
  if (tooLarge) {
    ::kill(child, SIGKILL);
    killed = true;
  }
  const int status = Reap(child, deadline, killed);

  if (tooLarge) {
    result.outcome = ChildOutcome::OutputTooLarge;
  } else if (killed || (WIFSIGNALED(status) && WTERMSIG(status) == SIGXCPU)) {
    result.outcome = ChildOutcome::TimedOut;
  } else if (WIFSIGNALED(status)) {
    result.outcome = ChildOutcome::Crashed;
  } else {
    result.outcome = WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ChildOutcome::Finished
                                                                   : ChildOutcome::Failed;
  }
  if (result.outcome != ChildOutcome::Finished) result.output.clear();
  return result;
}

}  // namespace varnola
