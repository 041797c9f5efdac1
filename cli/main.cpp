// varnola-orders-cli: the window's commands without a window, for scripts and scheduled
// jobs. Sign in, import, list, details, track, export, print: each step only when asked.

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "app/seams/memory_order_table.h"
#include "backend/config.h"
#include "backend/merchant_session.h"
#include "backend/order_details.h"
#include "backend/order_list.h"
#include "backend/parcel_tracking.h"
#include "backend/sign_in.h"
#include "cli_frontend.h"
#include "cli_options.h"
#include "console_output.h"
#include "excel/excel_bridge.h"
#include "excel/export_orders.h"
#include "excel/import_workbook.h"
#include "http/encodings.h"
#include "http/web_request.h"
#include "regex/regex_object.h"
#include "table_printer.h"

namespace varnola::cli {
namespace {

enum ExitStatus {
  kSuccess = 0,
  kSignInFailed = 1,
  kUsageError = 2,
  kFileFailed = 3,
  kConfigUnreadable = 4,
};

bool ReadPassword(const CliOptions& options, std::string& password) {
  if (options.passwordFromStdin) {
    if (!std::getline(std::cin, password)) return false;
  } else {
    std::ifstream file(options.passwordFile);
    if (!file) return false;
    std::getline(file, password);
  }
  // A line written on Windows ends in "\r\n", piped or saved.
  if (!password.empty() && password.back() == '\r') password.pop_back();
  return true;
}

// For diagnosis and the benchmark's comparison: VARNOLA_NO_CONNECTION_REUSE=1 makes every
// request open a fresh connection instead of reusing a kept-alive one.
bool ConnectionReuseWanted() {
  const char* value = std::getenv("VARNOLA_NO_CONNECTION_REUSE");
  return value == nullptr || std::string(value) != "1";
}

// Standard output may be a full disk or a closed pipe; a table that did not arrive is a
// failed export, not a success.
bool PrintedTable(const OrderTable& table) {
  PrintTable(table.Snapshot(), stdout);
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
  std::fprintf(stderr,
               "varnola-orders-cli: the table could not be written to standard output (%s)\n",
               std::strerror(errno));
  return false;
}

int Run(const CliOptions& options) {
  const ConfigLoad config = LoadConfig(options.configPath);
  if (!config.ok) {
    std::fprintf(stderr, "varnola-orders-cli: %s\n", config.error.c_str());
    return kConfigUnreadable;
  }
  WebSettings settings = CurrentWebSettings();
  settings.extraCaFile = config.config.caFile;
  settings.reuseConnections = ConnectionReuseWanted();
  SetWebSettings(settings);

  std::string password;
  if (options.SignsIn() && !ReadPassword(options, password)) {
    std::fprintf(stderr, "varnola-orders-cli: the password could not be read\n%s", UsageText());
    return kUsageError;
  }

  ConsoleOutput console(stderr, !options.quiet && isatty(STDERR_FILENO));
  MemoryOrderTable table;
  HeadlessWindow window(Utf8ToLocal(options.account), Utf8ToLocal(password), console);
  ConsoleAnnouncer announcer(console);
  ConsoleMessageBox messageBox(console);
  FixedSaveDialog saveDialog(Utf8ToLocal(options.exportPath));
  Frontend ui{table, window, announcer, messageBox, saveDialog};

  MerchantSession session;
  RegexObject regex;
  std::string pageText;
  ExcelProgram excelProgram;
  ExcelWorkbook excelWorkbook;

  if (options.SignsIn() && !SignIn(ui, config.config, session)) return kSignInFailed;
  if (!options.importPath.empty() &&
      !ImportWorkbook(ui, excelProgram, excelWorkbook, Utf8ToLocal(options.importPath))) {
    return kFileFailed;
  }
  if (options.list) OrderListFetch(ui, config.config, regex, *options.list, pageText);
  if (options.details) OrderDetailFetch(ui, config.config, regex, pageText);
  if (options.trackRow > 0) {
    table.SelectRow(options.trackRow - 1);
    std::string lastTrackingText;
    TrackParcel(ui, config.config, lastTrackingText);
  }
  if (!options.exportPath.empty() && !ExportOrders(ui, excelProgram, excelWorkbook)) {
    return kFileFailed;
  }
  if (options.print && !PrintedTable(table)) return kFileFailed;
  return kSuccess;
}

}  // namespace
}  // namespace varnola::cli

int main(int argc, char** argv) {
  using namespace varnola::cli;
  const ParseResult parsed = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.options) {
    std::fprintf(stderr, "varnola-orders-cli: %s\n%s", parsed.error.c_str(), UsageText());
    return kUsageError;
  }
  if (parsed.options->help) {
    std::fputs(UsageText(), stdout);
    return kSuccess;
  }
  if (parsed.options->version) {
    std::printf("varnola-orders-cli %s\n", VARNOLA_VERSION);
    return kSuccess;
  }
  return Run(*parsed.options);
}
