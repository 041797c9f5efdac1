#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/seams/app_commands.h"

namespace varnola::cli {

// What the command line asks for; the steps run in a fixed order, each only when asked.
struct CliOptions {
  std::string configPath;
  std::string account;
  bool passwordFromStdin = false;
  std::string passwordFile;
  std::string importPath;
  std::optional<OrderState> list;
  bool details = false;
  int trackRow = 0;  // 1-based; 0 = no tracking query
  std::string exportPath;
  bool print = false;
  bool quiet = false;
  bool help = false;
  bool version = false;

  bool SignsIn() const { return !account.empty(); }
};

struct ParseResult {
  std::optional<CliOptions> options;
  std::string error;  // one line, when options is empty
};

ParseResult ParseCommandLine(const std::vector<std::string>& args);

const char* UsageText();

}  // namespace varnola::cli
