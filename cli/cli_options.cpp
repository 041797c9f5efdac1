#include "cli_options.h"

#include <charconv>

namespace varnola::cli {
namespace {

std::optional<OrderState> ParseListState(const std::string& value) {
  if (value == "10") return OrderState::AwaitingPayment;
  if (value == "20") return OrderState::AwaitingShipment;
  if (value == "30") return OrderState::AwaitingReceipt;
  if (value == "all") return OrderState::All;
  return std::nullopt;
}

std::optional<int> ParsePositive(const std::string& value) {
  int number = 0;
  const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
  if (ec != std::errc() || end != value.data() + value.size() || number < 1) return std::nullopt;
  return number;
}

}  // namespace

const char* UsageText() {
  return "usage: varnola-orders-cli [--config FILE] [--account NAME (--password-stdin | "
         "--password-file FILE)]\n"
         "                          [--import FILE] [--list 10|20|30|all] [--details] "
         "[--track ROW]\n"
         "                          [--export FILE] [--print] [--quiet] [--help] [--version]\n"
         "\n"
         "Steps run in this order, each only when asked: sign in, import, list, details,\n"
         "track (1-based row), export, print. Exit status: 0 success, 1 sign-in failed,\n"
         "2 usage error, 3 export or import failed, 4 configuration unreadable.\n";
}

ParseResult ParseCommandLine(const std::vector<std::string>& args) {
  CliOptions options;
  auto fail = [](std::string error) { return ParseResult{std::nullopt, std::move(error)}; };

  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) return false;
      out = args[++i];
      return true;
    };
    std::string text;
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg == "--details") {
      options.details = true;
    } else if (arg == "--print") {
      options.print = true;
    } else if (arg == "--quiet") {
      options.quiet = true;
    } else if (arg == "--password-stdin") {
      options.passwordFromStdin = true;
    } else if (arg == "--config") {
      if (!value(options.configPath)) return fail("--config needs a file");
    } else if (arg == "--account") {
      if (!value(options.account) || options.account.empty()) return fail("--account needs a name");
    } else if (arg == "--password-file") {
      if (!value(options.passwordFile)) return fail("--password-file needs a file");
    } else if (arg == "--import") {
      if (!value(options.importPath)) return fail("--import needs a file");
    } else if (arg == "--export") {
      if (!value(options.exportPath)) return fail("--export needs a file");
    } else if (arg == "--list") {
      if (!value(text) || !(options.list = ParseListState(text))) {
        return fail("--list takes 10, 20, 30 or all");
      }
    } else if (arg == "--track") {
      const auto row = value(text) ? ParsePositive(text) : std::nullopt;
      if (!row) return fail("--track takes a row number from 1");
      options.trackRow = *row;
    } else {
      return fail("unknown argument: " + arg);
    }
  }

  if (options.help || options.version) return ParseResult{options, {}};
  const bool hasPassword = options.passwordFromStdin || !options.passwordFile.empty();
  if (options.passwordFromStdin && !options.passwordFile.empty()) {
    return fail("give the password one way: --password-stdin or --password-file");
  }
  if (options.SignsIn() != hasPassword) {
    return fail("--account goes with --password-stdin or --password-file");
  }
  return ParseResult{options, {}};
}

}  // namespace varnola::cli
