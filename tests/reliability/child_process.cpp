#include "reliability/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>

namespace varnola::test {
namespace {

using Clock = std::chrono::steady_clock;

struct Pipe {
  int read = -1;
  int write = -1;
  bool Open() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    read = fds[0];
    write = fds[1];
    return true;
  }
  void CloseRead() {
    if (read >= 0) close(read);
    read = -1;
  }
  void CloseWrite() {
    if (write >= 0) close(write);
    write = -1;
  }
  ~Pipe() {
    CloseRead();
    CloseWrite();
  }
};

std::vector<char*> CStrings(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

ProcessResult RunProcess(const ProcessSpec& spec) {
  ProcessResult result;
  Pipe in, out, err;
  if (spec.argv.empty() || !in.Open() || !out.Open() || !err.Open()) return result;

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in.read, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out.write, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err.write, STDERR_FILENO);
  if (!spec.workingDirectory.empty()) {
    posix_spawn_file_actions_addchdir_np(&actions, spec.workingDirectory.c_str());
  }
  std::vector<std::string> argv = spec.argv;
  std::vector<std::string> environment;
  for (const auto& [name, value] : spec.environment) environment.push_back(name + "=" + value);
  std::vector<char*> argvPointers = CStrings(argv);
  std::vector<char*> environmentPointers = CStrings(environment);

  const Clock::time_point start = Clock::now();
  pid_t child = -1;
  const int spawned = posix_spawn(&child, argv[0].c_str(), &actions, nullptr, argvPointers.data(),
                                  environmentPointers.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return result;
  result.started = true;
  in.CloseRead();
  out.CloseWrite();
  err.CloseWrite();

  // The input is small: it fits the pipe, so writing it cannot block.
  if (!spec.input.empty() && write(in.write, spec.input.data(), spec.input.size()) < 0) {
    result.err = "cannot write the input";
  }
  in.CloseWrite();

  const Clock::time_point deadline = start + spec.timeout;
  std::array<char, 4096> buffer{};
  while (out.read >= 0 || err.read >= 0) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) {
      result.timedOut = true;
      kill(child, SIGKILL);
      break;
    }
    std::array<pollfd, 2> watch{{{out.read, POLLIN, 0}, {err.read, POLLIN, 0}}};
    if (poll(watch.data(), watch.size(), static_cast<int>(left)) < 0 && errno != EINTR) break;
    for (std::size_t i = 0; i < watch.size(); ++i) {
      if (watch[i].fd < 0 || watch[i].revents == 0) continue;
      Pipe& source = i == 0 ? out : err;
      const ssize_t got = read(source.read, buffer.data(), buffer.size());
      if (got > 0) {
        (i == 0 ? result.out : result.err).append(buffer.data(), static_cast<std::size_t>(got));
      } else {
        source.CloseRead();
      }
    }
  }

  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  result.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  return result;
}

std::map<std::string, std::string> SanitizerEnvironment() {
  std::map<std::string, std::string> environment;
  for (const char* name :
       {"PATH", "ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS", "TSAN_OPTIONS"}) {
    if (const char* value = std::getenv(name)) environment[name] = value;
  }
  return environment;
}

}  // namespace varnola::test
