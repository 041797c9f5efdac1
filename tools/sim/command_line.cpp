#include "sim/command_line.h"

#include <charconv>
#include <cstdint>
#include <functional>
#include <map>
#include <system_error>

#include "sim/order_data.h"

namespace varnola::sim {
namespace {

template <typename Number>
bool ReadNumber(const std::string& text, Number& value) {
  const char* end = text.data() + text.size();
  const auto [stop, failure] = std::from_chars(text.data(), end, value);
  return !text.empty() && failure == std::errc() && stop == end;
}

bool ReadInt(const std::string& text, int low, int high, int& value) {
  int parsed = 0;
  if (!ReadNumber(text, parsed) || parsed < low || parsed > high) return false;
  value = parsed;
  return true;
}

bool ReadRate(const std::string& text, double& value) {
  double parsed = 0;
  if (!ReadNumber(text, parsed) || !(parsed >= 0 && parsed <= 1)) return false;
  value = parsed;
  return true;
}

using FlagReader = std::function<bool(const std::string&, SimOptions&)>;

std::map<std::string, FlagReader> FlagReaders() {
  const auto text = [](std::string SimOptions::*field) {
    return [field](const std::string& value, SimOptions& options) {
      options.*field = value;
      return !value.empty() || field == &SimOptions::password;
    };
  };
  const auto port = [](int SimOptions::*field) {
    return [field](const std::string& value, SimOptions& options) {
      return ReadInt(value, 0, 65535, options.*field);
    };
  };
  return {
      {"--bind", text(&SimOptions::bindHost)},
      {"--backend-port", port(&SimOptions::backendPort)},
      {"--image-port", port(&SimOptions::imagePort)},
      {"--detect-port", port(&SimOptions::detectPort)},
      {"--query-port", port(&SimOptions::queryPort)},
      {"--orders", [](const std::string& v,
                      SimOptions& o) { return ReadInt(v, 0, kMaxOrderCount, o.orderCount); }},
      {"--seed", [](const std::string& v, SimOptions& o) { return ReadNumber(v, o.seed); }},
      {"--account", text(&SimOptions::account)},
      {"--password", text(&SimOptions::password)},
      {"--write-config", text(&SimOptions::writeConfig)},
      {"--cert", text(&SimOptions::certFile)},
      {"--key", text(&SimOptions::keyFile)},
      {"--latency-ms", [](const std::string& v,
                          SimOptions& o) { return ReadInt(v, 0, 600000, o.faults.latencyMs); }},
      {"--fail-rate",
       [](const std::string& v, SimOptions& o) { return ReadRate(v, o.faults.failRate); }},
      {"--drop-rate",
       [](const std::string& v, SimOptions& o) { return ReadRate(v, o.faults.dropRate); }},
      {"--expire-after",
       [](const std::string& v, SimOptions& o) {
         return ReadInt(v, 0, 1000000000, o.faults.expireAfter);
       }},
      {"--fault-path",
       [](const std::string& v, SimOptions& o) {
         o.faults.pathPrefix = v;
         return v.starts_with("/");
       }},
  };
}

// Flags that stand alone, without a value.
std::map<std::string, bool SimFaults::*> Switches() {
  return {{"--stall", &SimFaults::stall}, {"--redirect-loop", &SimFaults::redirectLoop}};
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  line.options.backendPort = 18080;
  line.options.imagePort = 18081;
  line.options.detectPort = 18443;
  line.options.queryPort = 18082;
  const auto readers = FlagReaders();
  const auto switches = Switches();
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string flag = args[i];
    if (flag == "--help" || flag == "-h") {
      line.help = true;
      line.ok = true;
      return line;
    }
    if (flag == "--version") {
      line.version = true;
      line.ok = true;
      return line;
    }
    if (const auto on = switches.find(flag); on != switches.end()) {
      line.options.faults.*(on->second) = true;
      continue;
    }
    std::string value;
    bool hasValue = false;
    if (const auto equals = flag.find('='); flag.starts_with("--") && equals != std::string::npos) {
      value = flag.substr(equals + 1);
      flag.resize(equals);
      hasValue = true;
    }
    const auto reader = readers.find(flag);
    if (reader == readers.end()) {
      line.error = "unknown option " + flag;
      return line;
    }
    if (!hasValue) {
      if (i + 1 >= args.size()) {
        line.error = flag + " needs a value";
        return line;
      }
      value = args[++i];
    }
    if (!reader->second(value, line.options)) {
      line.error = "invalid value \"" + value + "\" for " + flag;
      return line;
    }
  }
  line.ok = true;
  return line;
}

std::string UsageText() {
  return "usage: varnola-sim [--bind 127.0.0.1] [--backend-port P] [--image-port P]\n"
         "                   [--detect-port P] [--query-port P] [--orders N] [--seed S]\n"
         "                   [--account A] [--password P] [--write-config FILE]\n"
         "                   [--latency-ms N] [--fail-rate R] [--drop-rate R]\n"
         "                   [--expire-after N] [--stall] [--redirect-loop]\n"
         "                   [--fault-path PREFIX] [--cert PEM --key PEM] [--help] [--version]\n"
         "\n"
         "Serves a simulated merchant back-end (default port 18080), its image host (18081),\n"
         "and a parcel-tracking service: carrier detection over https (18443) and the\n"
         "tracking query (18082). Port 0 picks a free port.\n"
         "\n"
         "  --orders N          orders to generate, 0 to 100000 (default 60)\n"
         "  --seed S            seed of the generated data (default 42)\n"
         "  --account, --password   the merchant's sign-in (default demo / demo123)\n"
         "  --write-config FILE write the tool's configuration, pointing here, once bound\n"
         "  --cert, --key       PEM certificate and key for https (default: made at start)\n"
         "  --latency-ms N      delay every answer by N milliseconds\n"
         "  --fail-rate R       answer this fraction (0..1) of requests with 500\n"
         "  --drop-rate R       cut off this fraction of answers in the middle of the body\n"
         "  --expire-after N    a session ends after serving N requests (0 = never)\n"
         "  --stall             take requests and never answer them\n"
         "  --redirect-loop     answer every request with a redirect to itself\n"
         "  --fault-path PREFIX the faults other than --expire-after hit only paths that\n"
         "                      begin with PREFIX, such as /order/edit\n";
}

}  // namespace varnola::sim
