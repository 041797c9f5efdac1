#pragma once

#include <chrono>
#include <map>
#include <string>
#include <vector>

namespace varnola::test {

// What a program run left behind.
struct ProcessResult {
  bool started = false;
  bool timedOut = false;  // killed after the time allowed
  int exitCode = -1;      // -1 when it did not exit by itself
  int signal = 0;         // the signal that ended it, 0 if none
  std::string out;        // standard output
  std::string err;        // standard error
  std::chrono::milliseconds elapsed{0};
};

struct ProcessSpec {
  std::vector<std::string> argv;  // argv[0] is the program's path
  // The whole environment of the program; nothing of the test's own is passed on.
  std::map<std::string, std::string> environment;
  std::string workingDirectory;  // empty: the test's own
  std::string input;             // written to its standard input, which is then closed
  std::chrono::milliseconds timeout{60000};
};

// Runs a program to its end (or kills it once the time is up) and collects its output.
ProcessResult RunProcess(const ProcessSpec& spec);

// The variables of the test's own environment that a child under the sanitizers needs.
std::map<std::string, std::string> SanitizerEnvironment();

}  // namespace varnola::test
