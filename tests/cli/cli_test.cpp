// The built varnola-orders-cli, run as a merchant's script runs it, against the simulator
// on free loopback ports. Workbooks are checked with an independent reader (openpyxl).

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/seams/order_columns.h"
#include "backend/config.h"
#include "backend/sim_fixture.h"
#include "cli/program_runner.h"
#include "http/encodings.h"
#include "sim/tracking_service.h"

namespace varnola {
namespace {

using test::ProgramResult;

constexpr const char* kPassword = "Tr0ub4dor-x9";
constexpr const char* kWrongPassword = "not-Tr0ub4dor";
constexpr const char* kPython = "/usr/bin/python3";  // the one with openpyxl

// Prints every cell of the first sheet: row, column, value type, number format, UTF-8 text
// in hex (a cell may hold tabs and line breaks).
constexpr const char* kDumpWorkbook = R"PY(
import sys, openpyxl
sheet = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
for row in sheet.iter_rows():
    for c in row:
        v = c.value
        text = '' if v is None else str(v)
        print(c.row, c.column, type(v).__name__, c.number_format, text.encode('utf-8').hex(), sep='\t')
)PY";

// Writes a workbook: argument 1 the path, then one argument per row, its cells in hex
// joined by ",".
constexpr const char* kWriteWorkbook = R"PY(
import sys, openpyxl
book = openpyxl.Workbook()
for r, row in enumerate(sys.argv[2:], start=1):
    for c, cell in enumerate(row.split(','), start=1):
        if cell:
            book.active.cell(row=r, column=c, value=bytes.fromhex(cell).decode('utf-8'))
book.save(sys.argv[1])
)PY";

std::string Hex(const std::string& bytes) {
  std::string hex;
  for (const unsigned char c : bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    hex += kDigits[c >> 4];
    hex += kDigits[c & 0xF];
  }
  return hex;
}

std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

std::string Join(const std::vector<std::string>& texts, const std::string& separator,
                 std::string (*each)(const std::string&) = nullptr) {
  std::string joined;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (i > 0) joined += separator;
    joined += each ? each(texts[i]) : texts[i];
  }
  return joined;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> Utf8Titles() {
  std::vector<std::string> titles;
  for (const std::string& title : OrderColumnTitles()) titles.push_back(LocalToUtf8(title));
  return titles;
}

class CliTest : public test::SimFixture {
 protected:
  void SetUp() override {
    sim::SimOptions options;
    options.password = kPassword;
    StartSim(options);
    configPath = dir.Path("config.ini");
    test::WriteFile(configPath, ConfigText(config));
  }

  // Runs the tool with a configuration of the test's own (never the user's) and checks
  // that it ended in time and that no password showed in its output.
  ProgramResult Cli(const std::vector<std::string>& args, const std::string& input = {},
                    std::map<std::string, std::optional<std::string>> env = {},
                    const std::string& stdoutPath = {}) {
    env.try_emplace("VARNOLA_ORDERS_CONFIG", std::nullopt);
    env.try_emplace("XDG_CONFIG_HOME", dir.Path("xdg"));
    env.try_emplace("HOME", dir.path());
    const ProgramResult result =
        test::RunProgram(VARNOLA_CLI_PATH, {args, input, std::move(env), stdoutPath});
    EXPECT_FALSE(result.timedOut);
    for (const char* secret : {kPassword, kWrongPassword}) {
      EXPECT_EQ(result.out.find(secret), std::string::npos) << result.out;
      EXPECT_EQ(result.err.find(secret), std::string::npos) << result.err;
    }
    return result;
  }

  // Signs in as demo with the password on standard input (a line as a script written on
  // Windows pipes it), then does `steps`.
  ProgramResult SignedInCli(const std::vector<std::string>& steps) {
    std::vector<std::string> args = {"--config", configPath, "--account", "demo",
                                     "--password-stdin"};
    args.insert(args.end(), steps.begin(), steps.end());
    return Cli(args, std::string(kPassword) + "\r\n");
  }

  static std::string Python(const char* script, const std::vector<std::string>& args) {
    std::vector<std::string> all = {"-c", script};
    all.insert(all.end(), args.begin(), args.end());
    const ProgramResult result = test::RunProgram(kPython, {all, {}, {}, {}});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return result.out;
  }

  // Every cell of the first sheet as "type format text", by row then column from 0.
  static std::vector<std::vector<std::string>> WorkbookCells(const std::string& path) {
    std::vector<std::vector<std::string>> cells;
    for (const std::string& line : Lines(Python(kDumpWorkbook, {path}))) {
      std::istringstream fields(line);
      std::size_t row = 0, column = 0;
      std::string type, format, hex;
      fields >> row >> column >> type >> format;
      fields >> hex;
      if (row == 0 || column == 0) continue;
      if (cells.size() < row) cells.resize(row);
      if (cells[row - 1].size() < column) cells[row - 1].resize(column);
      cells[row - 1][column - 1] = type + " " + format + " " + FromHex(hex);
    }
    return cells;
  }

  // A cell as the export must have stored it: text in the "@" format.
  static std::string TextCell(const std::string& utf8) {
    return (utf8.empty() ? "NoneType @ " : "str @ ") + utf8;
  }

  test::TempDir dir;
  std::string configPath;
};

TEST_F(CliTest, DailyExportSignsInListsFetchesDetailsAndSaves) {
  const std::string workbook = dir.Path("orders.xlsx");
  const ProgramResult result = SignedInCli({"--list", "20", "--details", "--export", workbook});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "");

  // The back-end lists the newest order first.
  std::vector<const sim::SimOrder*> shipping;
  for (auto it = server().orders().rbegin(); it != server().orders().rend(); ++it) {
    if (it->state == sim::kAwaitingShipment) shipping.push_back(&*it);
  }
  ASSERT_FALSE(shipping.empty());

  const sim::SimData& data = server().data();
  EXPECT_EQ(Lines(result.err),
            (std::vector<std::string>{
                "say: 登录中...请稍后",
                "say: 登录成功！" + data.store.name + "欢迎您的使用！待付款订单：" +
                    std::to_string(data.CountInState(sim::kAwaitingPayment)) + "笔！待发货订单：" +
                    std::to_string(shipping.size()) + "笔！待收货订单：" +
                    std::to_string(data.CountInState(sim::kAwaitingReceipt)) + "笔！总订单：" +
                    std::to_string(data.orders.size()) + "笔！",
                "say: 正在获取待发货订单，请等待...",
                "say: 一共获取到" + std::to_string(shipping.size()) + "笔订单数据",
                "say: 正在获取订单详情，请等待...",
                "message: 导出成功！",
            }));

  std::vector<std::vector<std::string>> expected(1);
  for (const std::string& title : Utf8Titles()) expected[0].push_back(TextCell(title));
  for (std::size_t i = 0; i < shipping.size(); ++i) {
    std::vector<std::string> row = {TextCell(std::to_string(i + 1))};
    for (const std::string& cell : ExpectedCells(*shipping[i])) {
      row.push_back(TextCell(LocalToUtf8(cell)));
    }
    row.push_back(TextCell(""));  // "备用"
    expected.push_back(row);
  }
  const auto cells = WorkbookCells(workbook);
  EXPECT_EQ(cells, expected);
  for (const auto& row : cells) {
    for (const std::string& cell : row) EXPECT_EQ(cell.find(kPassword), std::string::npos);
  }
}

TEST_F(CliTest, ImportedRowsAreTrackedAndPrintedAsEscapedTsv) {
  const sim::SimOrder* shipped = nullptr;
  for (const sim::SimOrder& order : server().orders()) {
    if (!order.trackingNo.empty()) shipped = &order;
  }
  ASSERT_NE(shipped, nullptr);

  // Two rows of 23 cells, each as the workbook holds it and as --print must write it.
  using Row = std::vector<std::pair<std::string, std::string>>;
  Row first(kOrderColumnCount), second(kOrderColumnCount);
  first[0] = {"1", "1"};
  first[1] = {"20240101000001", "20240101000001"};
  first[17] = {"请\t尽快\n发货", "请\\t尽快\\n发货"};  // "留言"
  first[20] = {"C:\\单号\\x", "C:\\\\单号\\\\x"};      // "地址"
  second[0] = {"2", "2"};
  second[17] = {"a\\tb", "a\\\\tb"};
  second[kColumnTrackingNumber] = {shipped->trackingNo, shipped->trackingNo};

  std::vector<std::string> sheetRows = {Join(Utf8Titles(), ",", Hex)};
  std::vector<std::string> printed = {Join(Utf8Titles(), "\t")};
  for (const Row* row : {&first, &second}) {
    std::vector<std::string> texts, lines;
    for (const auto& [text, line] : *row) texts.push_back(text), lines.push_back(line);
    sheetRows.push_back(Join(texts, ",", Hex));
    printed.push_back(Join(lines, "\t"));
  }
  const std::string workbook = dir.Path("在途订单.xlsx");
  std::vector<std::string> writeArgs = {workbook};
  writeArgs.insert(writeArgs.end(), sheetRows.begin(), sheetRows.end());
  Python(kWriteWorkbook, writeArgs);
  server().ClearReceivedRequests();

  const ProgramResult result =
      Cli({"--config", configPath, "--import", workbook, "--track", "2", "--print"});

  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(Lines(result.out), printed);
  const sim::TrackingService service(server().data());
  EXPECT_EQ(Lines(result.err),
            (std::vector<std::string>{
                "message: 你已经成功导入了2行数据！",
                "message: " + service.TrackingRecord("huitongkuaidi", shipped->trackingNo)}));
  const auto tracking = server().trackingRequests();
  ASSERT_EQ(tracking.size(), 2u);
  EXPECT_EQ(tracking[0].target, "/autonumber/auto?num=" + shipped->trackingNo);
}

TEST_F(CliTest, FailuresEndWithTheirExitStatusAndReason) {
  const std::string wrongPasswordFile = dir.Path("wrong-password");
  test::WriteFile(wrongPasswordFile, std::string(kWrongPassword) + "\r\n");
  const std::string badConfig = dir.Path("bad.ini");
  test::WriteFile(badConfig, "[hosts]\nbackend = http://127.0.0.1/\n");
  std::filesystem::create_directories(dir.Path("bad-xdg/varnola-orders"));
  test::WriteFile(dir.Path("bad-xdg/varnola-orders/config.ini"), "[proxy]\n");
  const std::string notAWorkbook = dir.Path("orders.xlsx");
  test::WriteFile(notAWorkbook, "PK\x03\x04 this is no workbook");

  const std::string& config = configPath;
  const struct {
    const char* name;
    std::vector<std::string> args;
    std::string input;
    std::map<std::string, std::optional<std::string>> env;
    int exitCode;
    std::string errorText;  // a part of standard error
  } cases[] = {
      {"wrong password",
       {"--config", config, "--account", "demo", "--password-file", wrongPasswordFile},
       {},
       {},
       1,
       "say: 哎哟喂！你是不是账号密码输入错误啦！呜呜"},
      {"unknown option",
       {"--config", config, "--frobnicate"},
       {},
       {},
       2,
       "unknown option --frobnicate"},
      {"password typed as an option",
       {"--account", "demo", "--password=" + std::string(kPassword)},
       {},
       {},
       2,
       "unknown option --password"},
      {"password typed as a stray value",
       {"--account", "demo", "--password-stdin", kPassword},
       {},
       {},
       2,
       "is not an option"},
      {"unknown list", {"--list", "40"}, {}, {}, 2, "--list takes 10, 20, 30 or all"},
      {"row 0", {"--track", "0"}, {}, {}, 2, "--track takes a row number from 1"},
      {"missing export file", {"--export"}, {}, {}, 2, "--export needs a file"},
      {"account without password", {"--account", "demo"}, {}, {}, 2, "--account goes with"},
      {"two passwords",
       {"--account", "demo", "--password-stdin", "--password-file", "x"},
       {},
       {},
       2,
       "give the password one way"},
      {"no password on standard input",
       {"--config", config, "--account", "demo", "--password-stdin"},
       {},
       {},
       2,
       "the password could not be read"},
      {"export into a missing folder",
       {"--config", config, "--export", dir.Path("missing/orders.xlsx")},
       {},
       {},
       3,
       "message: 导出失败！"},
      {"import of a missing file",
       {"--config", config, "--import", dir.Path("none.xlsx")},
       {},
       {},
       3,
       "message: 导入失败！"},
      {"import of a broken workbook",
       {"--config", config, "--import", notAWorkbook},
       {},
       {},
       3,
       "message: 导入失败！"},
      {"missing configuration",
       {"--config", dir.Path("none.ini"), "--print"},
       {},
       {},
       4,
       "none.ini"},
      {"malformed configuration", {"--config", badConfig, "--print"}, {}, {}, 4, "bad.ini:2"},
      {"malformed configuration from the environment",
       {"--print"},
       {},
       {{"VARNOLA_ORDERS_CONFIG", badConfig}},
       4,
       "bad.ini:2"},
      {"malformed configuration under XDG_CONFIG_HOME",
       {"--print"},
       {},
       {{"XDG_CONFIG_HOME", dir.Path("bad-xdg")}},
       4,
       "config.ini:1: unknown section [proxy]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ProgramResult result = Cli(c.args, c.input, c.env);
    EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
    EXPECT_NE(result.err.find(c.errorText), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
    if (c.exitCode == 2) {
      // One line of reason, then the usage.
      EXPECT_TRUE(result.err.starts_with("varnola-orders-cli: ")) << result.err;
      const std::size_t reasonEnd = result.err.find('\n');
      EXPECT_EQ(result.err.compare(reasonEnd + 1, 26, "usage: varnola-orders-cli "), 0)
          << result.err;
    }
  }
}

TEST_F(CliTest, HelpVersionAndAFullStandardOutput) {
  const ProgramResult help = Cli({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(help.out.starts_with("usage: varnola-orders-cli ")) << help.out;
  EXPECT_NE(help.out.find("VARNOLA_NO_CONNECTION_REUSE"), std::string::npos);

  const ProgramResult version = Cli({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, "varnola-orders-cli " VARNOLA_VERSION "\n");

  // A table that could not be written is not reported as success.
  const ProgramResult full = Cli({"--config", configPath, "--print"}, {}, {}, "/dev/full");
  EXPECT_EQ(full.exitCode, 3);
  EXPECT_NE(full.err.find("could not be written to standard output"), std::string::npos)
      << full.err;
}

}  // namespace
}  // namespace varnola
