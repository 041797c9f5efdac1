#include <gtest/gtest.h>

#include <functional>

#include "backend/order_details.h"
#include "backend/order_list.h"
#include "backend/sign_in.h"
#include "sim_fixture.h"

namespace varnola {
namespace {

using test::L;

class OrderCommandsTest : public test::SimFixture {
 protected:
  void SignInToSim(sim::SimOptions options = {}) {
    StartSim(std::move(options));
    fake.window.account = "demo";
    fake.window.password = "demo123";
    MerchantSession session;
    Frontend ui = fake.Get();
    ASSERT_TRUE(SignIn(ui, config, session));
  }

  void List(OrderState state) {
    Frontend ui = fake.Get();
    OrderListFetch(ui, config, regex, state, pageText);
  }

  void Details(OrderTable& table) {
    Frontend ui{table, fake.window, fake.announcer, fake.messageBox, fake.saveDialog};
    OrderDetailFetch(ui, config, regex, pageText);
  }

  // Every row holds, in columns 1..21, exactly its own order's texts.
  void ExpectRowsMatchTheirOrders(const OrderTable& table) {
    for (int row = 0; row < table.RowCount(); ++row) {
      const sim::SimOrder* order =
          server().data().FindOrder(std::stoi(table.CellText(row, kColumnOrderId)));
      ASSERT_NE(order, nullptr);
      EXPECT_EQ(RowCells(table, row, 1, 21), ExpectedCells(*order)) << "row " << row;
    }
  }

  RegexObject regex;
  std::string pageText;
};

TEST_F(OrderCommandsTest, EachListCommandFillsTheRowsOfItsState) {
  SignInToSim();
  const struct {
    OrderState state;
    int simState;
    const char* announcement;
  } cases[] = {
      {OrderState::AwaitingPayment, sim::kAwaitingPayment, "正在获取未付款订单，请等待..."},
      {OrderState::AwaitingShipment, sim::kAwaitingShipment, "正在获取待发货订单，请等待..."},
      {OrderState::AwaitingReceipt, sim::kAwaitingReceipt, "正在获取待收货订单，请等待..."},
      {OrderState::All, 0, "正在获取总订单，请等待..."},
  };
  for (const auto& c : cases) {
    fake.table.AppendRow();  // a leftover row that the list must replace
    const std::size_t spoken = fake.announcer.Texts().size();
    List(c.state);

    // The back-end lists the newest order first.
    std::vector<const sim::SimOrder*> expected;
    for (auto it = server().orders().rbegin(); it != server().orders().rend(); ++it) {
      if (c.simState == 0 || it->state == c.simState) expected.push_back(&*it);
    }
    ASSERT_EQ(fake.table.RowCount(), static_cast<int>(expected.size())) << c.announcement;
    ASSERT_FALSE(expected.empty());
    for (int row = 0; row < fake.table.RowCount(); ++row) {
      EXPECT_EQ(fake.table.CellText(row, 0), std::to_string(row + 1));
      EXPECT_EQ(fake.table.CellText(row, kColumnOrderId), std::to_string(expected[row]->id));
      EXPECT_EQ(fake.table.CellText(row, kColumnFirstDetail), "");
    }
    const auto texts = fake.announcer.Texts();
    ASSERT_EQ(texts.size(), spoken + 2);
    EXPECT_EQ(texts[spoken], L(c.announcement));
    EXPECT_EQ(texts[spoken + 1], L("一共获取到" + std::to_string(expected.size()) + "笔订单数据"));
    EXPECT_EQ(fake.window.EnabledButtons().back(), Button::Details);
  }
}

TEST_F(OrderCommandsTest, OnlyTheAllOrdersListMovesTheProgressBar) {
  SignInToSim();
  const std::size_t before = fake.window.Progress().size();
  List(OrderState::AwaitingShipment);
  EXPECT_EQ(fake.window.Progress().size(), before);

  List(OrderState::All);
  const std::vector<int> progress = fake.window.Progress();
  const int rows = fake.table.RowCount();
  ASSERT_EQ(progress.size(), before + 1 + rows);
  EXPECT_EQ(progress[before], 1);
  EXPECT_EQ(progress.back(), 100);
}

TEST_F(OrderCommandsTest, WithoutASessionTheListIsEmptyAndDetailsAreEnabled) {
  StartSim();
  fake.table.AppendRow();
  List(OrderState::AwaitingShipment);
  EXPECT_EQ(fake.table.RowCount(), 0);
  EXPECT_EQ(fake.announcer.Texts().back(), L("一共获取到0笔订单数据"));
  EXPECT_EQ(fake.window.EnabledButtons(), std::vector<Button>{Button::Details});
}

TEST_F(OrderCommandsTest, DetailsFillEveryRowWithItsOwnOrder) {
  SignInToSim();
  List(OrderState::All);
  Details(fake.table);
  ExpectRowsMatchTheirOrders(fake.table);
  EXPECT_EQ(fake.announcer.Texts().back(), L("正在获取订单详情，请等待..."));
  EXPECT_EQ(fake.window.Progress().back(), 100);

  // The simulator's data holds characters outside code page 936 and escaped signs; they
  // must reach the table intact.
  std::string everything;
  for (const auto& row : fake.table.Snapshot().rows) {
    for (const std::string& cell : row) everything += LocalToUtf8(cell);
  }
  EXPECT_NE(everything.find("𠮷"), std::string::npos);
  EXPECT_NE(everything.find("䶮"), std::string::npos);
  EXPECT_EQ(everything.find("&amp;"), std::string::npos);
}

TEST_F(OrderCommandsTest, ARowWhosePageDoesNotMatchIsLeftAlone) {
  SignInToSim();
  std::vector<std::string> cells(kOrderColumnCount);
  cells[kColumnOrderId] = "999999";
  cells[kColumnFirstDetail] = "kept";
  fake.table.AppendFilledRow(cells);
  // An id from a workbook cannot add parameters: sent raw, this would fetch a real order.
  cells[kColumnOrderId] = std::to_string(server().orders().front().id) + "&x=1";
  fake.table.AppendFilledRow(cells);
  cells[kColumnOrderId] = std::to_string(server().orders().front().id);
  fake.table.AppendFilledRow(cells);

  Details(fake.table);
  EXPECT_EQ(fake.table.CellText(0, kColumnFirstDetail), "kept");
  EXPECT_EQ(fake.table.CellText(1, kColumnFirstDetail), "kept");
  const std::vector<std::string> expected = ExpectedCells(server().orders().front());
  EXPECT_EQ(RowCells(fake.table, 2, 9, 21),
            std::vector<std::string>(expected.begin() + 8, expected.end()));
}

TEST_F(OrderCommandsTest, AnExpiredSessionLeavesEveryRowUntouched) {
  SignInToSim();
  List(OrderState::AwaitingShipment);
  server().SetFaults(sim::SimFaults{.expireAfter = 1});
  Details(fake.table);
  for (int row = 0; row < fake.table.RowCount(); ++row) {
    EXPECT_EQ(fake.table.CellText(row, kColumnFirstDetail), "");
  }
  EXPECT_EQ(fake.window.Progress().back(), 2);
}

// Forwards to an in-memory table and lets a test act when a row's id is read, as the
// merchant could while a detail run fetches that row's page.
class InterferingTable final : public OrderTable {
 public:
  std::function<void(int row)> onIdRead;
  MemoryOrderTable inner;

  void DeleteAllRows() override { inner.DeleteAllRows(); }
  int AppendRow() override { return inner.AppendRow(); }
  void SetCellText(int r, int c, const std::string& t) override { inner.SetCellText(r, c, t); }
  std::string CellText(int row, int column) const override {
    std::string text = inner.CellText(row, column);
    if (column == kColumnOrderId && onIdRead) onIdRead(row);
    return text;
  }
  int RowCount() const override { return inner.RowCount(); }
  void EnsureVisible(int row) override { inner.EnsureVisible(row); }
  void DeleteRow(int row) override { inner.DeleteRow(row); }
  int SelectedRow() const override { return inner.SelectedRow(); }
  int ColumnCount() const override { return inner.ColumnCount(); }
  std::string ColumnTitle(int column) const override { return inner.ColumnTitle(column); }
  int AppendColumn(const std::string& t, int w, Alignment a) override {
    return inner.AppendColumn(t, w, a);
  }
  int AppendFilledRow(const std::vector<std::string>& cells, RowNumbering n) override {
    return inner.AppendFilledRow(cells, n);
  }
  bool SetCellsIfKey(int row, int keyColumn, const std::string& key, int firstColumn,
                     const std::vector<std::string>& texts) override {
    return inner.SetCellsIfKey(row, keyColumn, key, firstColumn, texts);
  }
  TableSnapshot Snapshot() const override { return inner.Snapshot(); }
};

TEST_F(OrderCommandsTest, ADeleteDuringTheRunNeverMisplacesDetails) {
  SignInToSim();
  List(OrderState::All);
  InterferingTable table;
  for (const auto& row : fake.table.Snapshot().rows) table.inner.AppendFilledRow(row);
  const int before = table.RowCount();
  // While the page of row 3 is fetched, the merchant deletes row 0: every later row
  // moves up by one.
  table.onIdRead = [&](int row) {
    if (row == 3) {
      table.onIdRead = nullptr;
      table.inner.DeleteRow(0);
    }
  };
  Details(table);
  ASSERT_EQ(table.RowCount(), before - 1);
  for (int row = 0; row < table.RowCount(); ++row) {
    const std::string goods = table.CellText(row, kColumnFirstDetail);
    if (goods.empty()) continue;  // skipped because it moved: fine, never wrong
    const sim::SimOrder* order =
        server().data().FindOrder(std::stoi(table.CellText(row, kColumnOrderId)));
    EXPECT_EQ(RowCells(table, row, 1, 21), ExpectedCells(*order)) << "row " << row;
  }
}

TEST_F(OrderCommandsTest, ARunStopsWhenTheTableShrinksBelowIt) {
  SignInToSim();
  List(OrderState::All);
  InterferingTable table;
  for (const auto& row : fake.table.Snapshot().rows) table.inner.AppendFilledRow(row);
  table.onIdRead = [&](int row) {
    if (row == 4) {
      table.onIdRead = nullptr;
      while (table.inner.RowCount() > 2) table.inner.DeleteRow(2);
    }
  };
  const std::size_t requestsBefore = server().receivedRequests(sim::SimHost::Backend).size();
  Details(table);
  // Rows 0..3 were fetched, row 4's page too; then the run noticed the table had shrunk.
  EXPECT_EQ(server().receivedRequests(sim::SimHost::Backend).size(), requestsBefore + 5);
  ExpectRowsMatchTheirOrders(table);
}

}  // namespace
}  // namespace varnola
