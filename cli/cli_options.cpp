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

// Names an argument that is not understood. Only what looks like an option name is
// repeated: a password put on the command line by mistake must not end up in a log.
std::string UnknownArgument(const std::string& arg, std::size_t index) {
  const std::string name = arg.substr(0, arg.find('='));
  const bool looksLikeOption =
      name.size() > 2 && name.starts_with("--") &&
      name.find_first_not_of("abcdefghijklmnopqrstuvwxyz-", 2) == std::string::npos;
  if (looksLikeOption) return "unknown option " + name;
  return "argument " + std::to_string(index + 1) + " is not an option";
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
         "2 usage error, 3 export, import or printing failed, 4 configuration unreadable.\n"
         "\n"
         "The configuration is --config FILE, else $VARNOLA_ORDERS_CONFIG, else\n"
         "varnola-orders/config.ini under $XDG_CONFIG_HOME (or ~/.config), else the demo\n"
         "simulator's defaults.\n"
         "VARNOLA_NO_CONNECTION_REUSE=1 opens a fresh connection for every request (diagnosis).\n";
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
      return fail(UnknownArgument(arg, i));
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
