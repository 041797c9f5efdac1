#include "reliability/cli_run.h"

#include <filesystem>
#include <sstream>

#include "http/encodings.h"

namespace varnola::test {
namespace {

// Undoes the escapes of the printed cells: "\t", "\n", "\r" and "\\".
std::string Unescape(const std::string& cell) {
  std::string text;
  for (std::size_t i = 0; i < cell.size(); ++i) {
    if (cell[i] != '\\' || i + 1 == cell.size()) {
      text.push_back(cell[i]);
      continue;
    }
    const char next = cell[++i];
    text.push_back(next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next);
  }
  return text;
}

}  // namespace

ProcessResult RunCli(const TempDir& home, const std::vector<std::string>& args,
                     std::chrono::milliseconds timeout, const std::string& input) {
  for (const char* folder : {".config", ".local/share", ".cache", "tmp"}) {
    std::filesystem::create_directories(home.Path(folder));
  }
  ProcessSpec spec;
  spec.argv = {VARNOLA_CLI_PROGRAM};
  spec.argv.insert(spec.argv.end(), args.begin(), args.end());
  spec.environment = SanitizerEnvironment();
  spec.environment["HOME"] = home.path();
  spec.environment["XDG_CONFIG_HOME"] = home.Path(".config");
  spec.environment["XDG_DATA_HOME"] = home.Path(".local/share");
  spec.environment["XDG_CACHE_HOME"] = home.Path(".cache");
  spec.environment["TMPDIR"] = home.Path("tmp");
  spec.environment["LANG"] = "C.UTF-8";
  spec.workingDirectory = home.path();
  spec.input = input;
  spec.timeout = timeout;
  return RunProcess(spec);
}

Cells PrintedTable(const std::string& out) {
  Cells rows;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> row;
    std::size_t start = 0;
    for (;;) {
      const std::size_t tab = line.find('\t', start);
      row.push_back(Utf8ToLocal(Unescape(line.substr(start, tab - start))));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace varnola::test
