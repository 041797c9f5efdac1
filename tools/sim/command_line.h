#pragma once

#include <string>
#include <vector>

#include "sim/sim_options.h"

namespace varnola::sim {

struct CommandLine {
  bool ok = false;
  bool help = false;     // --help: show the usage and end
  bool version = false;  // --version: show the version and end
  SimOptions options;
  std::string error;
};

// Reads the simulator's flags (without the program name), "--flag value" or
// "--flag=value". The ports default to the demo configuration's fixed ones.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();

}  // namespace varnola::sim
