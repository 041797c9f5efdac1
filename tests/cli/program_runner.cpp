#include "cli/program_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

extern char** environ;

namespace varnola::test {
namespace {

struct Pipe {
  int read = -1;
  int write = -1;
  Pipe() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) == 0) read = ends[0], write = ends[1];
  }
};

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

std::vector<std::string> Environment(const std::map<std::string, std::optional<std::string>>& env) {
  std::vector<std::string> entries;
  for (char** entry = environ; *entry; ++entry) {
    const std::string text = *entry;
    if (!env.contains(text.substr(0, text.find('=')))) entries.push_back(text);
  }
  for (const auto& [name, value] : env) {
    if (value) entries.push_back(name + "=" + *value);
  }
  return entries;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

ProgramResult RunProgram(const std::string& path, const ProgramRun& run) {
  ProgramResult result;
  ::signal(SIGPIPE, SIG_IGN);  // a program that exits without reading its input
  Pipe in, out, err;
  int outFile = -1;
  if (!run.stdoutPath.empty()) {
    outFile = ::open(run.stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    CloseFd(out.read);
    CloseFd(out.write);
  }
  if (in.read < 0 || err.read < 0 || (run.stdoutPath.empty() ? out.read < 0 : outFile < 0)) {
    ADD_FAILURE() << "cannot set up the streams of " << path;
    return result;
  }

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in.read, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, outFile >= 0 ? outFile : out.write, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err.write, STDERR_FILENO);
  std::vector<std::string> argv = {path};
  argv.insert(argv.end(), run.args.begin(), run.args.end());
  std::vector<std::string> envp = Environment(run.env);
  pid_t pid = -1;
  const int spawned = ::posix_spawn(&pid, path.c_str(), &actions, nullptr, Pointers(argv).data(),
                                    Pointers(envp).data());
  posix_spawn_file_actions_destroy(&actions);
  CloseFd(in.read);
  CloseFd(out.write);
  CloseFd(err.write);
  CloseFd(outFile);
  if (spawned != 0) {
    ADD_FAILURE() << "cannot start " << path << ": " << std::strerror(spawned);
    CloseFd(in.write), CloseFd(out.read), CloseFd(err.read);
    return result;
  }

  std::size_t written = 0;
  if (run.input.empty()) CloseFd(in.write);
  const auto deadline = std::chrono::steady_clock::now() + run.timeout;
  while (out.read >= 0 || err.read >= 0 || in.write >= 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      result.timedOut = true;
      ::kill(pid, SIGKILL);
      break;
    }
    std::array<pollfd, 3> fds = {pollfd{in.write, POLLOUT, 0}, pollfd{out.read, POLLIN, 0},
                                 pollfd{err.read, POLLIN, 0}};
    if (::poll(fds.data(), fds.size(), static_cast<int>(left.count())) < 0 && errno != EINTR) {
      break;
    }
    if (fds[0].revents != 0) {
      const ssize_t n = ::write(in.write, run.input.data() + written, run.input.size() - written);
      if (n > 0) written += static_cast<std::size_t>(n);
      if (n < 0 || written == run.input.size()) CloseFd(in.write);
    }
    const std::pair<int*, std::string*> readers[] = {{&out.read, &result.out},
                                                     {&err.read, &result.err}};
    for (std::size_t i = 0; i < 2; ++i) {
      if (fds[i + 1].revents == 0) continue;
      char buffer[4096];
      const ssize_t n = ::read(*readers[i].first, buffer, sizeof buffer);
      if (n > 0) {
        readers[i].second->append(buffer, static_cast<std::size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        CloseFd(*readers[i].first);
      }
    }
  }
  CloseFd(in.write), CloseFd(out.read), CloseFd(err.read);

  // Its streams are closed, but the program may still be running: wait until the deadline.
  int status = 0;
  while (true) {
    const pid_t done = ::waitpid(pid, &status, result.timedOut ? 0 : WNOHANG);
    if (done == pid || (done < 0 && errno != EINTR)) break;
    if (done == 0 && std::chrono::steady_clock::now() >= deadline) {
      result.timedOut = true;
      ::kill(pid, SIGKILL);
    } else if (done == 0) {
      ::usleep(5000);
    }
  }
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << bytes;
  EXPECT_TRUE(file.good()) << path;
}

}  // namespace varnola::test
