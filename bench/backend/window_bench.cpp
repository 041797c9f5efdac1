// The commands in the real window, offscreen, against the simulated back-end on loopback.
//
//   window_bench [--orders N] [benchmark flags]   (N = 1000 by default)
//
// BM_DetailsInWindow   sign in and list all orders through the window's buttons once, then
//                      time "取详情" until its worker task has ended: rows per second, and
//                      the connections each run opened.
// BM_ProcessEvents     one call of the window's ProcessEvents on the UI thread, as the long
//                      loops make it between rows and cells, beside Qt's own processEvents.
// BM_ExportInWindow    the export of a 20,000-row table held by the window, with the
//                      window's ProcessEvents (window:1) and with one that does nothing.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/core_commands.h"
#include "app/main_window.h"
#include "app/seams/order_columns.h"
#include "excel/excel_bridge.h"
#include "excel/export_orders.h"
#include "http/encodings.h"
#include "loopback_bench.h"

namespace varnola {
namespace {

int g_orders = bench::kDefaultOrders;

class QuietAnnouncer final : public Announcer {
 public:
  void Announce(const std::string&) override {}
};

class LastMessageBox final : public MessageBox {
 public:
  void Show(const std::string& text) override { last = text; }
  std::string last;
};

class FixedSaveDialog final : public SaveDialog {
 public:
  std::string path;
  std::optional<std::string> AskSavePath() override { return path; }
};

// The window's operations, except that the loops get no event processing.
class NoEventsWindow final : public MainWindowOps {
 public:
  explicit NoEventsWindow(MainWindowOps& window) : m_window(window) {}
  std::string AccountText() override { return m_window.AccountText(); }
  std::string PasswordText() override { return m_window.PasswordText(); }
  void SetCaption(const std::string& text) override { m_window.SetCaption(text); }
  void SetLabelText(Label label, const std::string& text) override {
    m_window.SetLabelText(label, text);
  }
  std::string LabelText(Label label) override { return m_window.LabelText(label); }
  void SetPicture(const ByteBuffer& image) override { m_window.SetPicture(image); }
  void SetProgress(int position) override { m_window.SetProgress(position); }
  void EnableButton(Button button) override { m_window.EnableButton(button); }
  void ProcessEvents() override {}

 private:
  MainWindowOps& m_window;
};

// Runs the window's event loop, as the program does, until `done` holds; false after a
// minute without it.
bool RunEventLoopUntil(const std::function<bool()>& done) {
  if (done()) return true;
  QEventLoop loop;
  QTimer poll;
  bool reached = false;
  const auto start = std::chrono::steady_clock::now();
  poll.callOnTimeout(&loop, [&] {
    reached = done();
    if (reached || std::chrono::steady_clock::now() - start > std::chrono::minutes(1)) {
      loop.quit();
    }
  });
  poll.start(1);
  loop.exec();
  return reached;
}

// The simulator and the window with the real commands, signed in, holding every order.
struct WindowRig {
  sim::SimServer server{bench::SimWithOrders(g_orders)};
  QuietAnnouncer announcer;
  std::unique_ptr<CoreCommands> commands;
  std::unique_ptr<MainWindow> window;
  std::string error;

  WindowRig() {
    if (!server.Start()) {
      error = "the simulator did not start: " + server.error();
      return;
    }
    bench::UseSim(server);
    commands = std::make_unique<CoreCommands>(server.ClientConfig());
    window = std::make_unique<MainWindow>(*commands, announcer);
    window->SetCancelExchangesHook([] { CancelRunningWebRequests(); });
    window->show();
    Find<QLineEdit>("编辑框1")->setText(QStringLiteral("demo"));
    Find<QLineEdit>("编辑框2")->setText(QStringLiteral("demo123"));
    Find<QPushButton>("按钮1")->click();
    if (!commands->SignedIn()) {
      error = "the sign-in failed";
      return;
    }
    Find<QPushButton>("按钮2")->click();
    if (!RunEventLoopUntil([this] {
          return Find<QPushButton>("按钮6")->isEnabled() && window->Tasks().RunningCount() == 0;
        }) ||
        window->Table().RowCount() != g_orders) {
      error = "the list is incomplete";
    }
  }
  ~WindowRig() {
    if (window) {
      window->close();
      window->Shutdown();
    }
    window.reset();
    commands.reset();
    CloseIdleConnections();
    server.Stop();
  }

  template <typename T>
  T* Find(const char* formName) {
    return window->findChild<T*>(QString::fromUtf8(formName));
  }

  int DetailedRows() {
    int filled = 0;
    for (int row = 0; row < window->Table().RowCount(); ++row) {
      filled += window->Table().CellText(row, kColumnFirstDetail).empty() ? 0 : 1;
    }
    return filled;
  }
};

std::unique_ptr<WindowRig> g_rig;

WindowRig& Rig() {
  if (!g_rig) g_rig = std::make_unique<WindowRig>();
  return *g_rig;
}

void BM_DetailsInWindow(benchmark::State& state) {
  WindowRig& rig = Rig();
  if (!rig.error.empty()) {
    state.SkipWithError(rig.error.c_str());
    return;
  }
  OrderTable& table = rig.window->Table();
  QPushButton* details = rig.Find<QPushButton>("按钮6");
  const int backendPort = rig.server.backendPort();
  int opened = 0;
  for (auto _ : state) {
    state.PauseTiming();
    // Each run must fill the rows anew.
    for (int row = 0; row < table.RowCount(); ++row) {
      table.SetCellText(row, kColumnFirstDetail, {});
    }
    const auto before = bench::ClientPortsTo(backendPort);
    state.ResumeTiming();

    details->click();
    if (!RunEventLoopUntil([&] { return rig.window->Tasks().RunningCount() == 0; })) {
      state.SkipWithError("the detail run did not end");
      break;
    }

    state.PauseTiming();
    opened += bench::NewConnections(before, bench::ClientPortsTo(backendPort));
    const bool complete = rig.DetailedRows() == table.RowCount();
    state.ResumeTiming();
    if (!complete) {
      state.SkipWithError("a row was left without its details");
      break;
    }
  }
  const double rows = static_cast<double>(table.RowCount());
  state.counters["rows"] = rows;
  state.counters["rows/s"] = benchmark::Counter(rows * static_cast<double>(state.iterations()),
                                                benchmark::Counter::kIsRate);
  state.counters["connections/run"] =
      static_cast<double>(opened) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_DetailsInWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_ProcessEvents(benchmark::State& state) {
  WindowRig& rig = Rig();
  if (!rig.error.empty()) {
    state.SkipWithError(rig.error.c_str());
    return;
  }
  const bool windowOps = state.range(0) != 0;
  MainWindowOps& ops = rig.window->UiFrontend().window;
  for (auto _ : state) {
    if (windowOps) {
      ops.ProcessEvents();
    } else {
      QCoreApplication::processEvents();
    }
  }
  state.SetLabel(windowOps ? "the window's ProcessEvents" : "QCoreApplication::processEvents");
}
BENCHMARK(BM_ProcessEvents)->ArgName("window")->Arg(0)->Arg(1);

// 20,000 rows shaped like the merchant's orders.
void FillTable(OrderTable& table) {
  table.DeleteAllRows();
  const std::string goods = Utf8ToLocal("有机高山绿茶礼盒装（500克）");
  const std::string address = Utf8ToLocal("浙江省杭州市西湖区文三路一百二十八号三单元五零二室");
  for (int i = 0; i < 20000; ++i) {
    const std::string n = std::to_string(i);
    std::vector<std::string> row(kOrderColumnCount, Utf8ToLocal("会员") + n);
    row[1] = "201701041200" + n;
    row[kColumnOrderId] = std::to_string(500000 + i);
    row[kColumnFirstDetail] = goods;
    row[20] = address;
    table.AppendFilledRow(row, RowNumbering::InFirstColumn);
  }
}

void BM_ExportInWindow(benchmark::State& state) {
  WindowRig& rig = Rig();
  if (!rig.error.empty()) {
    state.SkipWithError(rig.error.c_str());
    return;
  }
  const bool windowOps = state.range(0) != 0;
  FillTable(rig.window->Table());
  std::string folder = (std::filesystem::temp_directory_path() / "window-bench-XXXXXX").string();
  if (!::mkdtemp(folder.data())) {
    state.SkipWithError("no temporary folder");
    return;
  }
  Frontend& window = rig.window->UiFrontend();
  NoEventsWindow noEvents(window.window);
  LastMessageBox messageBox;
  FixedSaveDialog saveDialog;
  saveDialog.path = folder + "/export.xlsx";
  Frontend ui{window.table, windowOps ? window.window : noEvents, window.announcer, messageBox,
              saveDialog};
  ExcelProgram program;
  ExcelWorkbook workbook;
  for (auto _ : state) ExportOrders(ui, program, workbook);
  if (messageBox.last != Utf8ToLocal("导出成功！")) state.SkipWithError("the export failed");
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  state.SetLabel(windowOps ? "the window's ProcessEvents" : "no event processing");
}
BENCHMARK(BM_ExportInWindow)
    ->ArgName("window")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

}  // namespace
}  // namespace varnola

int main(int argc, char** argv) {
  varnola::g_orders = varnola::bench::TakeOrderCount(argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  varnola::g_rig.reset();  // the window goes before the application object
  benchmark::Shutdown();
  return 0;
}
