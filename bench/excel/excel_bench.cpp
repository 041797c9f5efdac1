// Export and import of a 20,000 x 23 order table through the two commands, with a window
// that does nothing; import also of a workbook of a million cells (43,479 x 23). Each
// benchmark reports the peak resident memory of the process while it ran (the filled
// order table included, as the window holds it too).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "app/seams/order_columns.h"
#include "excel/excel_bridge.h"
#include "excel/export_orders.h"
#include "excel/import_workbook.h"
#include "http/encodings.h"
#include "support/fake_frontend.h"

namespace varnola {
namespace {

constexpr int kRows = 20000;
constexpr int kMillionCellRows = 43479;  // x 23 columns

// Enough scripted answers of the Save-As dialog for every iteration.
constexpr int kDialogAnswers = 16;

std::string LastMessage(const test::FakeFrontend& ui) {
  const auto texts = ui.messageBox.Texts();
  return texts.empty() ? std::string() : texts.back();
}

// Rows shaped like the merchant's orders: numbers, 18-digit order numbers, Chinese names,
// goods and addresses, times, telephone and tracking numbers.
void FillOrders(OrderTable& table, int rowCount) {
  const std::string goods = Utf8ToLocal("有机高山绿茶礼盒装（500克）");
  const std::string address = Utf8ToLocal("浙江省杭州市西湖区文三路一百二十八号三单元五零二室");
  const std::string member = Utf8ToLocal("会员张三丰");
  const std::string state = Utf8ToLocal("待发货");
  for (int i = 0; i < rowCount; ++i) {
    const std::string n = std::to_string(i);
    std::vector<std::string> row{std::to_string(i + 1),
                                 "2017010412" + std::string(8 - n.size(), '0') + n,
                                 member + n,
                                 Utf8ToLocal("旗舰店"),
                                 std::to_string(100 + i % 900) + ".00",
                                 std::to_string(90 + i % 900) + ".50",
                                 "2017-01-04 12:" + std::to_string(10 + i % 50) + ":00",
                                 state,
                                 std::to_string(500000 + i),
                                 goods,
                                 std::to_string(1 + i % 9),
                                 Utf8ToLocal("盒"),
                                 "88.00",
                                 std::to_string(88 * (1 + i % 9)) + ".00",
                                 std::to_string(90 + i % 900) + ".50",
                                 Utf8ToLocal("在线支付"),
                                 Utf8ToLocal("快递"),
                                 Utf8ToLocal("请尽快发货，谢谢！"),
                                 Utf8ToLocal("李四"),
                                 "138" + std::string(8 - n.size(), '0') + n,
                                 address,
                                 "YT" + std::to_string(7000000000LL + i),
                                 ""};
    table.AppendFilledRow(row);
  }
}

// A folder for the files of this run, removed when the run ends.
const std::string& TempFolder() {
  static const struct Folder {
    Folder() {
      std::string pattern =
          (std::filesystem::temp_directory_path() / "excel-bench-XXXXXX").string();
      path = ::mkdtemp(pattern.data()) ? pattern : std::string(".");
    }
    ~Folder() {
      std::error_code ignored;
      if (path != ".") std::filesystem::remove_all(path, ignored);
    }
    std::string path;
  } folder;
  return folder.path;
}

// Starts a new peak: the kernel forgets the resident high-water mark reached so far.
void ResetPeakMemory() {
  std::ofstream("/proc/self/clear_refs") << "5";
}

// A line of /proc/self/status in megabytes ("VmHWM" the peak, "VmRSS" the present).
double StatusMegabytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(field + ":", 0) == 0) return std::stod(line.substr(field.size() + 1)) / 1024.0;
  }
  return 0;
}

void ReportPeakMemory(benchmark::State& state) {
  state.counters["peak_rss_MB"] = StatusMegabytes("VmHWM");
}

void BM_ExportOrders(benchmark::State& state) {
  test::FakeFrontend ui;
  FillOrders(ui.table, kRows);
  const std::string path = TempFolder() + "/export.xlsx";
  ui.saveDialog.answers.assign(kDialogAnswers, path);
  Frontend frontend = ui.Get();
  ExcelProgram program;
  ExcelWorkbook workbook;
  state.counters["table_rss_MB"] = StatusMegabytes("VmRSS");
  ResetPeakMemory();
  for (auto _ : state) ExportOrders(frontend, program, workbook);
  if (LastMessage(ui) != Utf8ToLocal("导出成功！")) state.SkipWithError("export failed");
  state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / (1 << 20);
  ReportPeakMemory(state);
}

void BM_ImportWorkbook(benchmark::State& state) {
  // The workbook is exported by a child process, so the export's memory does not count.
  const int rows = static_cast<int>(state.range(0));
  const std::string path = TempFolder() + "/import-" + std::to_string(rows) + ".xlsx";
  if (const pid_t child = ::fork(); child == 0) {
    test::FakeFrontend source;
    FillOrders(source.table, rows);
    source.saveDialog.answers.assign(1, path);
    Frontend frontend = source.Get();
    ExcelProgram program;
    ExcelWorkbook workbook;
    ExportOrders(frontend, program, workbook);
    ::_exit(LastMessage(source) == Utf8ToLocal("导出成功！") ? 0 : 1);
  } else {
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || status != 0) {
      state.SkipWithError("could not write the workbook to import");
      return;
    }
  }
  test::FakeFrontend ui;
  Frontend frontend = ui.Get();
  ExcelProgram program;
  ExcelWorkbook workbook;
  state.counters["start_rss_MB"] = StatusMegabytes("VmRSS");
  ResetPeakMemory();
  for (auto _ : state) ImportWorkbook(frontend, program, workbook, path);
  if (ui.table.RowCount() != rows) state.SkipWithError("import lost rows");
  ReportPeakMemory(state);
}

BENCHMARK(BM_ExportOrders)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ImportWorkbook)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Arg(kRows)
    ->Arg(kMillionCellRows);

}  // namespace
}  // namespace varnola

BENCHMARK_MAIN();
