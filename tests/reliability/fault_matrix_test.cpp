// Every command of the window under every fault of the network and the back-end, through
// the core's commands with an in-memory frontend, against the simulator on loopback.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/core_commands.h"
#include "app/seams/order_columns.h"
#include "http/encodings.h"
#include "http/web_request.h"
#include "reliability/fault_scene.h"
#include "reliability/reliability_support.h"
#include "sim/sim_server.h"
#include "support/fake_frontend.h"
#include "support/local_literal.h"

namespace varnola {
namespace {

using std::chrono::milliseconds;
using test::Fault;
using test::L;

enum class Command {
  SignIn,
  ListAwaitingPayment,
  ListAwaitingShipment,
  ListAwaitingReceipt,
  ListAll,
  Details,
  Tracking,
  Export,
  Import,
};
constexpr std::size_t kCommandCount = 9;

// What a command comes to under a fault.
enum class Outcome {
  Unharmed,        // as without the fault
  Fails,           // sign-in: the failure text, figures and buttons as they were;
                   // list: the table cleared and no rows; details: every row untouched;
                   // tracking: an empty answer shown
  PartlyDone,      // details: the rows fetched before the session ended are complete,
                   // every later row untouched
  ShowsErrorPage,  // tracking: the service's error page is shown as its answer
  NoDetection,     // tracking: the carrier detection is refused, the query still goes out
                   // without it and its answer is shown
};

constexpr Outcome U = Outcome::Unharmed;
constexpr Outcome F = Outcome::Fails;
constexpr Outcome P = Outcome::PartlyDone;
constexpr Outcome E = Outcome::ShowsErrorPage;
constexpr Outcome N = Outcome::NoDetection;

struct MatrixRow {
  Fault fault;
  std::array<Outcome, kCommandCount> outcomes;
};

// The expected outcome of every command under every fault. Export and import never touch
// the network; only the tracking service's detection host speaks https; the tracking
// service keeps no session. The session ends right after the set-up: between the sign-in
// page and the form post (the form's token then belongs to a gone session), before a list,
// and in the middle of the detail fetch.
// clang-format off
//                                 sign list list list list  de-    track ex-  im-
//                                 -in  10   20   30   all   tails  -ing  port port
constexpr MatrixRow kMatrix[] = {
    {Fault::Unreachable,          {F,   F,   F,   F,   F,    F,     F,    U,   U}},
    {Fault::Refused,              {F,   F,   F,   F,   F,    F,     F,    U,   U}},
    {Fault::Stall,                {F,   F,   F,   F,   F,    F,     F,    U,   U}},
    {Fault::ServerError,          {F,   F,   F,   F,   F,    F,     E,    U,   U}},
    {Fault::CutBody,              {F,   F,   F,   F,   F,    F,     F,    U,   U}},
    {Fault::ExpiredSession,       {F,   F,   F,   F,   F,    P,     U,    U,   U}},
    {Fault::RedirectLoop,         {F,   F,   F,   F,   F,    F,     F,    U,   U}},
    {Fault::OversizeBody,         {F,   F,   F,   F,   F,    F,     F,    U,   U}},
    {Fault::UntrustedCertificate, {U,   U,   U,   U,   U,    U,     N,    U,   U}},
};
// clang-format on

Outcome ExpectedOutcome(Fault fault, Command command) {
  for (const MatrixRow& row : kMatrix) {
    if (row.fault == fault) return row.outcomes[static_cast<std::size_t>(command)];
  }
  ADD_FAILURE() << "no row for " << test::FaultName(fault);
  return U;
}

const char* CommandName(Command command) {
  switch (command) {
    case Command::SignIn:
      return "SignIn";
    case Command::ListAwaitingPayment:
      return "ListAwaitingPayment";
    case Command::ListAwaitingShipment:
      return "ListAwaitingShipment";
    case Command::ListAwaitingReceipt:
      return "ListAwaitingReceipt";
    case Command::ListAll:
      return "ListAll";
    case Command::Details:
      return "Details";
    case Command::Tracking:
      return "Tracking";
    case Command::Export:
      return "Export";
    case Command::Import:
      return "Import";
  }
  return "?";
}

void PrintTo(Command command, std::ostream* out) {
  *out << CommandName(command);
}

struct ListCase {
  OrderState state;
  int simState;  // 0: every order
  const char* announcement;
};

ListCase ListCaseOf(Command command) {
  switch (command) {
    case Command::ListAwaitingPayment:
      return {OrderState::AwaitingPayment, sim::kAwaitingPayment, "正在获取未付款订单，请等待..."};
    case Command::ListAwaitingShipment:
      return {OrderState::AwaitingShipment, sim::kAwaitingShipment,
              "正在获取待发货订单，请等待..."};
    case Command::ListAwaitingReceipt:
      return {OrderState::AwaitingReceipt, sim::kAwaitingReceipt, "正在获取待收货订单，请等待..."};
    default:
      return {OrderState::All, 0, "正在获取总订单，请等待..."};
  }
}

bool IsList(Command command) {
  return command == Command::ListAwaitingPayment || command == Command::ListAwaitingShipment ||
         command == Command::ListAwaitingReceipt || command == Command::ListAll;
}

constexpr int kOrders = 10;
constexpr milliseconds kConnectTimeout{1000};
constexpr milliseconds kIdleTimeout{1000};
// Requests the signed-in session has served once the set-up is done: the dashboard after
// the sign-in, then the list that fills the table.
constexpr int kSessionRequestsAfterSetUp = 2;
// The rows the detail fetch gets through before the session ends under ExpiredSession.
constexpr int kRowsBeforeExpiry = 2;

template <typename T>
std::vector<T> Since(const std::vector<T>& all, std::size_t from) {
  return std::vector<T>(all.begin() + static_cast<std::ptrdiff_t>(std::min(from, all.size())),
                        all.end());
}

class FaultMatrixTest : public ::testing::TestWithParam<std::tuple<Fault, Command>> {
 protected:
  void SetUp() override {
    sim::SimOptions options;
    options.orderCount = kOrders;
    options.seed = 11;
    m_sim = std::make_unique<sim::SimServer>(options);
    ASSERT_TRUE(m_sim->Start()) << m_sim->error();
    m_config = m_sim->ClientConfig();
    m_savedSettings = CurrentWebSettings();
    m_settings = m_savedSettings;
    m_settings.extraCaFile = m_config.caFile;
    m_settings.connectTimeout = kConnectTimeout;
    m_settings.idleTimeout = kIdleTimeout;
    SetWebSettings(m_settings);
    ClearCookieStore();
    for (int state : {sim::kAwaitingPayment, sim::kAwaitingShipment, sim::kAwaitingReceipt}) {
      ASSERT_GT(m_sim->data().CountInState(state), 0) << "every list must have rows to lose";
    }

    CoreCommands healthy(m_config);
    Frontend ui = m_fake.Get();
    m_fake.window.account = "demo";
    m_fake.window.password = "demo123";
    healthy.SignIn(ui);
    ASSERT_TRUE(healthy.SignedIn());
    if (CommandUnderTest() != Command::SignIn) FillTable(healthy, ui);
  }

  void TearDown() override {
    if (m_sim) m_sim->SetFaults({});  // lets stalled requests go
    SetWebSettings(m_savedSettings);
    CloseIdleConnections();
    if (m_sim) m_sim->Stop();
    ClearCookieStore();
  }

  Fault FaultUnderTest() const { return std::get<0>(GetParam()); }
  Command CommandUnderTest() const { return std::get<1>(GetParam()); }

  // Every order in the table; one row, the first with a parcel, already has its details
  // (the tracking query reads them, and the detail fetch must leave them alone or restore
  // them exactly). The import gets a workbook of this table and a table that lost rows.
  void FillTable(CoreCommands& healthy, Frontend& ui) {
    healthy.ListOrders(ui, OrderState::All);
    ASSERT_EQ(m_fake.table.RowCount(), kOrders);
    for (int row = 0; row < kOrders && m_trackedRow < 0; ++row) {
      const std::string id = m_fake.table.CellText(row, kColumnOrderId);
      const sim::SimOrder* order = m_sim->data().FindOrder(std::stoi(id));
      ASSERT_NE(order, nullptr);
      if (order->trackingNo.empty()) continue;
      ASSERT_TRUE(m_fake.table.SetCellsIfKey(row, kColumnOrderId, id, kColumnFirstDetail,
                                             test::DetailCells(*order)));
      m_trackedRow = row;
      m_trackingNo = order->trackingNo;
    }
    ASSERT_GE(m_trackedRow, 0) << "no order has a parcel";
    m_fake.table.SelectRow(m_trackedRow);

    if (CommandUnderTest() == Command::Import) {
      m_workbookRows = m_fake.table.Snapshot().rows;
      m_fake.saveDialog.answers.push_back(L(m_workbook));
      healthy.ExportOrders(ui);
      ASSERT_EQ(m_fake.messageBox.Texts().back(), L("导出成功！"));
      for (int i = 0; i < 3; ++i) m_fake.table.DeleteRow(0);
    }
  }

  // The longest the command may take: each of its requests may wait for the connection
  // and then for an answer that never comes, plus room for a slow machine.
  milliseconds TimeAllowed() const {
    int requests = 0;
    if (CommandUnderTest() == Command::SignIn) requests = 3;
    if (IsList(CommandUnderTest())) requests = 1;
    if (CommandUnderTest() == Command::Details) requests = kOrders;
    if (CommandUnderTest() == Command::Tracking) requests = 2;
    return requests * (kConnectTimeout + kIdleTimeout) + milliseconds(5000);
  }

  void RunCommand(CoreCommands& commands, Frontend& ui) {
    switch (CommandUnderTest()) {
      case Command::SignIn:
        commands.SignIn(ui);
        break;
      case Command::ListAwaitingPayment:
      case Command::ListAwaitingShipment:
      case Command::ListAwaitingReceipt:
      case Command::ListAll:
        commands.ListOrders(ui, ListCaseOf(CommandUnderTest()).state);
        break;
      case Command::Details:
        commands.FetchDetails(ui);
        break;
      case Command::Tracking:
        commands.TrackParcel(ui);
        break;
      case Command::Export:
        m_fake.saveDialog.answers.push_back(L(m_exported));
        commands.ExportOrders(ui);
        break;
      case Command::Import:
        commands.ImportWorkbook(ui, L(m_workbook));
        break;
    }
  }

  void CheckSignIn(Outcome outcome, bool signedIn, const std::vector<std::string>& labelsBefore,
                   std::size_t announced, std::size_t enabled, std::size_t progressed) {
    const std::vector<std::string> said = Since(m_fake.announcer.Texts(), announced);
    ASSERT_FALSE(said.empty());
    if (outcome == U) {
      EXPECT_TRUE(signedIn);
      EXPECT_TRUE(said.back().starts_with(L("登录成功！")));
      return;
    }
    EXPECT_FALSE(signedIn);
    EXPECT_EQ(said.back(), L("哎哟喂！你是不是账号密码输入错误啦！呜呜"));
    EXPECT_EQ(Labels(), labelsBefore) << "a failed sign-in keeps the figures";
    EXPECT_TRUE(Since(m_fake.window.EnabledButtons(), enabled).empty());
    EXPECT_EQ(m_fake.window.Caption(),
              L("Varnola商城订单管理系统 V2.0   qq:905317264          欢迎您！  "));
    EXPECT_EQ(Since(m_fake.window.Progress(), progressed), (std::vector<int>{10, 20, 50, 78, 100}));
  }

  void CheckList(Outcome outcome, std::size_t announced, std::size_t enabled) {
    const ListCase list = ListCaseOf(CommandUnderTest());
    const TableSnapshot table = m_fake.table.Snapshot();
    const std::vector<Button> buttons = Since(m_fake.window.EnabledButtons(), enabled);
    EXPECT_NE(std::find(buttons.begin(), buttons.end(), Button::Details), buttons.end());
    if (outcome == F) {
      EXPECT_TRUE(table.rows.empty()) << "the list clears the table first";
      EXPECT_EQ(Since(m_fake.announcer.Texts(), announced),
                (std::vector<std::string>{L(list.announcement), L("一共获取到0笔订单数据")}));
      return;
    }
    const int expected = list.simState == 0 ? kOrders : m_sim->data().CountInState(list.simState);
    EXPECT_EQ(static_cast<int>(table.rows.size()), expected);
    for (const auto& row : table.rows) EXPECT_FALSE(test::HasDetails(row));
  }

  void CheckDetails(Outcome outcome, const TableSnapshot& before) {
    const TableSnapshot after = m_fake.table.Snapshot();
    ASSERT_EQ(after.rows.size(), before.rows.size());
    for (std::size_t row = 0; row < after.rows.size(); ++row) {
      const bool fetched = outcome == U || (outcome == P && row < kRowsBeforeExpiry);
      if (fetched) {
        EXPECT_TRUE(test::HasDetails(after.rows[row])) << "row " << row;
      } else {
        EXPECT_EQ(after.rows[row], before.rows[row]) << "row " << row << " must stay untouched";
      }
    }
  }

  void CheckTracking(Outcome outcome, std::size_t shown) {
    const std::vector<std::string> texts = Since(m_fake.messageBox.Texts(), shown);
    ASSERT_EQ(texts.size(), 1u) << "the answer is shown once";
    const std::string& answer = texts.front();
    const auto detections = m_sim->receivedRequests(sim::SimHost::Detect);
    switch (outcome) {
      case U:
        EXPECT_NE(answer.find("\"nu\":\"" + m_trackingNo + "\""), std::string::npos) << answer;
        EXPECT_NE(answer.find("\"message\":\"ok\""), std::string::npos) << answer;
        EXPECT_EQ(detections.size(), 1u);
        break;
      case N: {
        EXPECT_TRUE(detections.empty()) << "no request may pass an unverified certificate";
        const auto queries = m_sim->receivedRequests(sim::SimHost::Query);
        ASSERT_EQ(queries.size(), 1u);
        EXPECT_NE(queries.front().target.find("&id=&"), std::string::npos)
            << queries.front().target;
        EXPECT_NE(answer.find("\"nu\":\"" + m_trackingNo + "\""), std::string::npos) << answer;
        break;
      }
      case E:
        EXPECT_NE(answer.find("Internal Server Error"), std::string::npos) << answer;
        break;
      default:
        EXPECT_EQ(answer, "");
    }
  }

  std::vector<std::string> Labels() {
    std::vector<std::string> labels;
    for (int label = 0; label < 8; ++label) {
      labels.push_back(m_fake.window.LabelText(static_cast<Label>(label)));
    }
    return labels;
  }

  std::unique_ptr<sim::SimServer> m_sim;
  AppConfig m_config;
  WebSettings m_savedSettings;
  WebSettings m_settings;
  test::FakeFrontend m_fake;
  test::TempDir m_folder;
  const std::string m_workbook = m_folder.Path("订单.xlsx");
  const std::string m_exported = m_folder.Path("导出.xlsx");
  std::vector<std::vector<std::string>> m_workbookRows;
  int m_trackedRow = -1;
  std::string m_trackingNo;
};

TEST_P(FaultMatrixTest, CommandEndsInTimeWithItsOutcomeAndAConsistentTable) {
  const Fault fault = FaultUnderTest();
  const Outcome outcome = ExpectedOutcome(fault, CommandUnderTest());
  const int expireAfter =
      kSessionRequestsAfterSetUp + (CommandUnderTest() == Command::Details ? kRowsBeforeExpiry : 0);
  const test::FaultScene scene(fault, expireAfter);

  const std::vector<std::string> labelsBefore = Labels();
  const TableSnapshot before = m_fake.table.Snapshot();
  const std::size_t announced = m_fake.announcer.Texts().size();
  const std::size_t enabled = m_fake.window.EnabledButtons().size();
  const std::size_t progressed = m_fake.window.Progress().size();
  const std::size_t shown = m_fake.messageBox.Texts().size();
  m_sim->ClearReceivedRequests();

  SetWebSettings(scene.Settings(m_settings));
  m_sim->SetFaults(scene.SimFaults());
  CoreCommands commands(scene.Config(m_config));
  Frontend ui = m_fake.Get();
  const auto start = std::chrono::steady_clock::now();
  RunCommand(commands, ui);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  m_sim->SetFaults({});
  SetWebSettings(m_settings);

  EXPECT_LT(elapsed, TimeAllowed()) << "the command must end within its time-outs";
  const TableSnapshot after = m_fake.table.Snapshot();
  EXPECT_EQ(test::TableProblems(after.rows, m_sim->data()), "");

  switch (CommandUnderTest()) {
    case Command::SignIn:
      CheckSignIn(outcome, commands.SignedIn(), labelsBefore, announced, enabled, progressed);
      break;
    case Command::ListAwaitingPayment:
    case Command::ListAwaitingShipment:
    case Command::ListAwaitingReceipt:
    case Command::ListAll:
      CheckList(outcome, announced, enabled);
      break;
    case Command::Details:
      CheckDetails(outcome, before);
      break;
    case Command::Tracking:
      CheckTracking(outcome, shown);
      break;
    case Command::Export:
      ASSERT_EQ(outcome, U);
      EXPECT_EQ(Since(m_fake.messageBox.Texts(), shown), std::vector<std::string>{L("导出成功！")});
      EXPECT_EQ(test::ReadWorkbook(m_exported), test::TableCells(after));
      break;
    case Command::Import:
      ASSERT_EQ(outcome, U);
      EXPECT_EQ(Since(m_fake.messageBox.Texts(), shown),
                std::vector<std::string>{
                    L("你已经成功导入了" + std::to_string(m_workbookRows.size()) + "行数据！")});
      EXPECT_EQ(after.rows, m_workbookRows);
      break;
  }
}

std::string CellName(const ::testing::TestParamInfo<std::tuple<Fault, Command>>& info) {
  return std::string(test::FaultName(std::get<0>(info.param))) + "_" +
         CommandName(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(
    EveryFaultAndCommand, FaultMatrixTest,
    ::testing::Combine(::testing::Values(Fault::Unreachable, Fault::Refused, Fault::Stall,
                                         Fault::ServerError, Fault::CutBody, Fault::ExpiredSession,
                                         Fault::RedirectLoop, Fault::OversizeBody,
                                         Fault::UntrustedCertificate),
                       ::testing::Values(Command::SignIn, Command::ListAwaitingPayment,
                                         Command::ListAwaitingShipment,
                                         Command::ListAwaitingReceipt, Command::ListAll,
                                         Command::Details, Command::Tracking, Command::Export,
                                         Command::Import)),
    CellName);

}  // namespace
}  // namespace varnola
