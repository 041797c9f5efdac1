// Details for every order of the simulated back-end on loopback, through the core with the
// table in memory: sign in, list all orders once, then time the detail fetch.
//
//   order_details_bench [--orders N] [benchmark flags]   (N = 1000 by default)
//
// Reports rows per second and the connections each run opened (0 or 1: the connection of
// the list is reused).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/seams/order_columns.h"
#include "backend/order_details.h"
#include "backend/order_list.h"
#include "backend/sign_in.h"
#include "loopback_bench.h"
#include "support/fake_frontend.h"

namespace varnola {
namespace {

int g_orders = bench::kDefaultOrders;

// The simulator, a signed-in session and a table filled by the all-orders list.
struct CoreRig {
  sim::SimServer server{bench::SimWithOrders(g_orders)};
  AppConfig config;
  test::FakeFrontend fake;
  RegexObject regex;
  std::string pageText;
  std::string error;

  CoreRig() {
    if (!server.Start()) {
      error = "the simulator did not start: " + server.error();
      return;
    }
    bench::UseSim(server);
    config = server.ClientConfig();
    fake.window.account = "demo";
    fake.window.password = "demo123";
    Frontend ui = fake.Get();
    MerchantSession session;
    if (!SignIn(ui, config, session)) {
      error = "the sign-in failed";
      return;
    }
    OrderListFetch(ui, config, regex, OrderState::All, pageText);
    if (fake.table.RowCount() != g_orders) error = "the list is incomplete";
  }
  ~CoreRig() {
    CloseIdleConnections();
    server.Stop();
  }

  bool AllDetailed() const {
    for (int row = 0; row < fake.table.RowCount(); ++row) {
      if (fake.table.CellText(row, kColumnFirstDetail).empty()) return false;
    }
    return true;
  }
};

void BM_DetailsThroughCore(benchmark::State& state) {
  // For comparison, and to show that the count of connections sees them: a fresh
  // connection for every request.
  const bool reuse = state.range(0) != 0;
  WebSettings settings = CurrentWebSettings();
  settings.reuseConnections = reuse;
  SetWebSettings(settings);
  CoreRig rig;
  if (!rig.error.empty()) {
    state.SkipWithError(rig.error.c_str());
    return;
  }
  const int backendPort = rig.server.backendPort();
  int opened = 0;
  for (auto _ : state) {
    state.PauseTiming();
    for (int row = 0; row < rig.fake.table.RowCount(); ++row) {
      rig.fake.table.SetCellText(row, kColumnFirstDetail, {});  // each run fills the rows anew
    }
    const auto before = bench::ClientPortsTo(backendPort);
    state.ResumeTiming();

    Frontend ui = rig.fake.Get();
    OrderDetailFetch(ui, rig.config, rig.regex, rig.pageText);

    state.PauseTiming();
    opened += bench::NewConnections(before, bench::ClientPortsTo(backendPort));
    const bool complete = rig.AllDetailed();
    state.ResumeTiming();
    if (!complete) {
      state.SkipWithError("a row was left without its details");
      break;
    }
  }
  const double rows = static_cast<double>(rig.fake.table.RowCount());
  state.counters["rows"] = rows;
  state.counters["rows/s"] = benchmark::Counter(rows * static_cast<double>(state.iterations()),
                                                benchmark::Counter::kIsRate);
  state.counters["connections/run"] =
      static_cast<double>(opened) / static_cast<double>(state.iterations());
  state.SetLabel(reuse ? "connection reused" : "fresh connection per request");
}
BENCHMARK(BM_DetailsThroughCore)
    ->ArgName("reuse")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

}  // namespace
}  // namespace varnola

int main(int argc, char** argv) {
  varnola::g_orders = varnola::bench::TakeOrderCount(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
