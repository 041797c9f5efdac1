// The headless tool under the faults of the network and the back-end: sign-in, a list, and
// the detail fetch of an imported workbook followed by its export, each a process of its
// own with the web layer's standard time-outs; its exit status and what it printed and
// wrote are checked against the simulator's data.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/core_commands.h"
#include "app/seams/order_columns.h"
#include "http/encodings.h"
#include "http/web_request.h"
#include "reliability/cli_run.h"
#include "reliability/fault_scene.h"
#include "reliability/reliability_support.h"
#include "sim/sim_server.h"
#include "support/fake_frontend.h"
#include "support/local_literal.h"

namespace varnola {
namespace {

using std::chrono::milliseconds;
using test::Cells;
using test::Fault;
using test::L;

enum class CliCommand {
  SignIn,            // sign in, then list every order
  List,              // the orders awaiting shipment
  DetailsAndExport,  // an exported workbook imported, its details fetched, exported again
};

enum class Outcome { Unharmed, Fails, PartlyDone };

struct CliCase {
  Fault fault;
  CliCommand command;
  Outcome outcome;
};

// A subset of the matrix: the faults that end quickly under the standard time-outs, plus
// one list that meets a host that cannot be reached and one that meets a stalled server
// (15 s and 30 s). The body cap of the tool cannot be lowered from outside.
constexpr CliCase kCases[] = {
    {Fault::Refused, CliCommand::SignIn, Outcome::Fails},
    {Fault::ServerError, CliCommand::SignIn, Outcome::Fails},
    {Fault::CutBody, CliCommand::SignIn, Outcome::Fails},
    {Fault::RedirectLoop, CliCommand::SignIn, Outcome::Fails},
    {Fault::ExpiredSession, CliCommand::SignIn, Outcome::Unharmed},
    {Fault::UntrustedCertificate, CliCommand::SignIn, Outcome::Unharmed},
    {Fault::Unreachable, CliCommand::List, Outcome::Fails},
    {Fault::Refused, CliCommand::List, Outcome::Fails},
    {Fault::Stall, CliCommand::List, Outcome::Fails},
    {Fault::ServerError, CliCommand::List, Outcome::Fails},
    {Fault::CutBody, CliCommand::List, Outcome::Fails},
    {Fault::ExpiredSession, CliCommand::List, Outcome::Fails},
    {Fault::RedirectLoop, CliCommand::List, Outcome::Fails},
    {Fault::UntrustedCertificate, CliCommand::List, Outcome::Unharmed},
    {Fault::Refused, CliCommand::DetailsAndExport, Outcome::Fails},
    {Fault::ServerError, CliCommand::DetailsAndExport, Outcome::Fails},
    {Fault::CutBody, CliCommand::DetailsAndExport, Outcome::Fails},
    {Fault::ExpiredSession, CliCommand::DetailsAndExport, Outcome::PartlyDone},
    {Fault::RedirectLoop, CliCommand::DetailsAndExport, Outcome::Fails},
    {Fault::UntrustedCertificate, CliCommand::DetailsAndExport, Outcome::Unharmed},
};

constexpr int kOrders = 8;
constexpr int kRowsBeforeExpiry = 2;
constexpr int kExitSignInFailed = 1;

const char* CommandName(CliCommand command) {
  switch (command) {
    case CliCommand::SignIn:
      return "SignIn";
    case CliCommand::List:
      return "List";
    case CliCommand::DetailsAndExport:
      return "DetailsAndExport";
  }
  return "?";
}

void PrintTo(const CliCase& cell, std::ostream* out) {
  *out << test::FaultName(cell.fault) << " x " << CommandName(cell.command);
}

bool MovesTheHosts(Fault fault) {
  return fault == Fault::Unreachable || fault == Fault::Refused;
}

class CliFaultMatrixTest : public ::testing::TestWithParam<CliCase> {
 protected:
  void SetUp() override {
    sim::SimOptions options;
    options.orderCount = kOrders;
    options.seed = 5;
    m_sim = std::make_unique<sim::SimServer>(options);
    ASSERT_TRUE(m_sim->Start()) << m_sim->error();
    m_config = m_sim->ClientConfig();
    ASSERT_GT(m_sim->data().CountInState(sim::kAwaitingShipment), 0);
    test::WriteTextFile(m_home.Path("password"), "demo123\n");
    if (GetParam().command == CliCommand::DetailsAndExport) WriteSourceWorkbook();
  }

  void TearDown() override {
    if (m_sim) m_sim->SetFaults({});
    CloseIdleConnections();
    if (m_sim) m_sim->Stop();
    ClearCookieStore();
  }

  // Every order, one of them with its details, exported by the tool's own commands.
  void WriteSourceWorkbook() {
    WebSettings settings = CurrentWebSettings();
    settings.extraCaFile = m_config.caFile;
    SetWebSettings(settings);
    test::FakeFrontend fake;
    Frontend ui = fake.Get();
    fake.window.account = "demo";
    fake.window.password = "demo123";
    CoreCommands commands(m_config);
    commands.SignIn(ui);
    ASSERT_TRUE(commands.SignedIn());
    commands.ListOrders(ui, OrderState::All);
    ASSERT_EQ(fake.table.RowCount(), kOrders);
    const int last = kOrders - 1;
    const std::string id = fake.table.CellText(last, kColumnOrderId);
    const sim::SimOrder* order = m_sim->data().FindOrder(std::stoi(id));
    ASSERT_NE(order, nullptr);
    ASSERT_TRUE(fake.table.SetCellsIfKey(last, kColumnOrderId, id, kColumnFirstDetail,
                                         test::DetailCells(*order)));
    fake.saveDialog.answers.push_back(L(m_home.Path("source.xlsx")));
    commands.ExportOrders(ui);
    ASSERT_EQ(fake.messageBox.Texts(), std::vector<std::string>{L("导出成功！")});
    m_sourceRows = fake.table.Snapshot().rows;
  }

  std::vector<std::string> Arguments(bool signIn) const {
    std::vector<std::string> args = {"--config", m_home.Path("config.ini"), "--quiet", "--print"};
    if (signIn) {
      args.insert(args.end(), {"--account", "demo", "--password-file", m_home.Path("password")});
    }
    switch (GetParam().command) {
      case CliCommand::SignIn:
        args.insert(args.end(), {"--list", "all"});
        break;
      case CliCommand::List:
        args.insert(args.end(), {"--list", "20"});
        break;
      case CliCommand::DetailsAndExport:
        args.insert(args.end(), {"--import", m_home.Path("source.xlsx"), "--details", "--export",
                                 m_home.Path("exported.xlsx")});
        break;
    }
    return args;
  }

  std::unique_ptr<sim::SimServer> m_sim;
  AppConfig m_config;
  test::TempDir m_home;
  std::vector<std::vector<std::string>> m_sourceRows;
};

TEST_P(CliFaultMatrixTest, ToolEndsInTimeWithItsExitStatusAndAConsistentTable) {
  const CliCase cell = GetParam();
  // Where the simulator's faults hit, so that the sign-in before the command gets through;
  // a fault that moves the hosts cannot spare it, so the command then runs without one.
  const bool signIn = cell.command == CliCommand::SignIn || !MovesTheHosts(cell.fault);
  std::string pathPrefix;
  int expireAfter = 0;  // counted from the dashboard the sign-in leads to
  switch (cell.command) {
    case CliCommand::SignIn:
      expireAfter = 2;  // the dashboard and the list; a new sign-in has no session to lose
      break;
    case CliCommand::List:
      pathPrefix = "/order/list";
      expireAfter = 1;  // gone before the list
      break;
    case CliCommand::DetailsAndExport:
      pathPrefix = "/order/edit";
      expireAfter = 1 + kRowsBeforeExpiry;
      break;
  }
  const test::FaultScene scene(cell.fault, expireAfter, pathPrefix);
  test::WriteTextFile(m_home.Path("config.ini"), ConfigText(scene.Config(m_config)));
  m_sim->SetFaults(scene.SimFaults());

  // Each request may wait the standard time for its connection and then for its answer.
  const WebSettings standard;
  int requests = 1;
  if (cell.command == CliCommand::SignIn) requests = 3 + 1;
  if (cell.command == CliCommand::DetailsAndExport) requests = (signIn ? 3 : 0) + kOrders;
  const milliseconds allowed =
      requests * (standard.connectTimeout + standard.idleTimeout) + milliseconds(10000);
  const test::ProcessResult run =
      test::RunCli(m_home, Arguments(signIn), allowed + milliseconds(30000));
  m_sim->SetFaults({});

  ASSERT_TRUE(run.started);
  ASSERT_FALSE(run.timedOut) << "the tool hangs";
  EXPECT_EQ(run.signal, 0) << run.err;
  EXPECT_LT(run.elapsed, allowed);

  if (cell.command == CliCommand::SignIn && cell.outcome == Outcome::Fails) {
    EXPECT_EQ(run.exitCode, kExitSignInFailed) << run.err;
    EXPECT_EQ(run.out, "") << "nothing runs after a failed sign-in";
    EXPECT_NE(run.err.find("say: 哎哟喂！你是不是账号密码输入错误啦！呜呜"), std::string::npos)
        << run.err;
    return;
  }
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const Cells printed = test::PrintedTable(run.out);
  ASSERT_FALSE(printed.empty()) << run.err;
  const std::vector<std::vector<std::string>> rows(printed.begin() + 1, printed.end());
  EXPECT_EQ(test::TableProblems(rows, m_sim->data()), "");

  switch (cell.command) {
    case CliCommand::SignIn:
      EXPECT_EQ(rows.size(), static_cast<std::size_t>(kOrders));
      break;
    case CliCommand::List:
      EXPECT_EQ(rows.size(),
                cell.outcome == Outcome::Fails
                    ? 0u
                    : static_cast<std::size_t>(m_sim->data().CountInState(sim::kAwaitingShipment)));
      break;
    case CliCommand::DetailsAndExport:
      ASSERT_EQ(rows.size(), m_sourceRows.size());
      for (std::size_t row = 0; row < rows.size(); ++row) {
        const bool fetched = cell.outcome == Outcome::Unharmed ||
                             (cell.outcome == Outcome::PartlyDone && row < kRowsBeforeExpiry);
        if (fetched) {
          EXPECT_TRUE(test::HasDetails(rows[row])) << "row " << row;
        } else {
          EXPECT_EQ(rows[row], m_sourceRows[row]) << "row " << row << " must stay untouched";
        }
      }
      EXPECT_EQ(test::ReadWorkbook(m_home.Path("exported.xlsx")), printed)
          << "the export writes the table as it stands";
      break;
  }
}

std::string CaseName(const ::testing::TestParamInfo<CliCase>& info) {
  return std::string(test::FaultName(info.param.fault)) + "_" + CommandName(info.param.command);
}

INSTANTIATE_TEST_SUITE_P(ChosenFaultsAndCommands, CliFaultMatrixTest, ::testing::ValuesIn(kCases),
                         CaseName);

}  // namespace
}  // namespace varnola
