#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace varnola::test {

// How to run a program: its arguments, what it reads on standard input, changes to the
// environment (a value sets the variable, nothing removes it) and how long it may take.
struct ProgramRun {
  std::vector<std::string> args;
  std::string input;
  std::map<std::string, std::optional<std::string>> env;
  std::string stdoutPath;  // standard output goes to this file instead of being captured
  std::chrono::seconds timeout{120};
};

struct ProgramResult {
  int exitCode = -1;  // -1 when the program did not exit normally
  bool timedOut = false;
  std::string out;
  std::string err;
};

// Runs the program at `path` and collects its output; a program that outlives the
// time-out is killed and reported as timed out.
ProgramResult RunProgram(const std::string& path, const ProgramRun& run);

void WriteFile(const std::string& path, const std::string& bytes);

}  // namespace varnola::test
