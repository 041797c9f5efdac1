#include "app/qt_order_table.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <QHeaderView>
#include <QTableView>
#include <QThread>
#include <QWidget>

#include "app/seams/memory_order_table.h"
#include "app/seams/order_columns.h"
#include "support/local_literal.h"
#include "window_test_support.h"

namespace varnola {
namespace {

using test::L;

struct QtOrderTableFixture : ::testing::Test {
  QWidget page;
  UiThreadCaller ui;
  QtOrderTable table{&page, ui};
};

// One step of a script that runs against the window's table and the in-memory reference
// table; its result is written as text so that both can be compared.
struct Step {
  const char* what;
  std::function<std::string(OrderTable&)> run;
};

TEST_F(QtOrderTableFixture, BehavesLikeTheReferenceTableAlsoOutOfRange) {
  std::vector<std::string> full(24, "c");
  const Step steps[] = {
      {"append", [](OrderTable& t) { return std::to_string(t.AppendRow()); }},
      {"append", [](OrderTable& t) { return std::to_string(t.AppendRow()); }},
      {"append", [](OrderTable& t) { return std::to_string(t.AppendRow()); }},
      {"set cells",
       [](OrderTable& t) {
         t.SetCellText(0, 0, "1");
         t.SetCellText(1, 0, "2");
         t.SetCellText(2, 0, "3");
         t.SetCellText(1, 22, L("备用文字"));
         return std::string();
       }},
      {"set outside",
       [](OrderTable& t) {
         t.SetCellText(3, 0, "x");
         t.SetCellText(0, 23, "x");
         t.SetCellText(-1, 0, "x");
         t.SetCellText(0, -1, "x");
         return std::string();
       }},
      {"read outside",
       [](OrderTable& t) {
         return t.CellText(3, 0) + "|" + t.CellText(0, 23) + "|" + t.CellText(-1, -1) + "|" +
                t.CellText(1, 22);
       }},
      {"counts and titles",
       [](OrderTable& t) {
         return std::to_string(t.RowCount()) + "|" + std::to_string(t.ColumnCount()) + "|" +
                t.ColumnTitle(-1) + "|" + t.ColumnTitle(23) + "|" + t.ColumnTitle(5) + "|" +
                t.ColumnTitle(14);
       }},
      {"delete outside",
       [](OrderTable& t) {
         t.DeleteRow(-1);
         t.DeleteRow(3);
         return std::to_string(t.RowCount());
       }},
      {"delete the middle row keeps the numbers",
       [](OrderTable& t) {
         t.DeleteRow(1);
         return t.CellText(0, 0) + "|" + t.CellText(1, 0);
       }},
      {"filled, numbered",
       [](OrderTable& t) {
         return std::to_string(t.AppendFilledRow({"a", "b"}, RowNumbering::InFirstColumn));
       }},
      {"filled, too many cells",
       [full](OrderTable& t) { return std::to_string(t.AppendFilledRow(full)); }},
      {"keyed write",
       [](OrderTable& t) {
         const bool hit = t.SetCellsIfKey(2, 1, "b", 21, {"x", "y", "z"});
         const bool miss = t.SetCellsIfKey(2, 1, "other", 9, {"no"});
         const bool gone = t.SetCellsIfKey(9, 1, "b", 9, {"no"});
         return std::to_string(hit) + std::to_string(miss) + std::to_string(gone);
       }},
      {"append column",
       [](OrderTable& t) {
         return std::to_string(t.AppendColumn(L("新列"), 100, Alignment::Centre)) + "|" +
                std::to_string(t.ColumnCount()) + "|" + t.ColumnTitle(23) + "|" + t.CellText(0, 23);
       }},
      {"clear keeps the columns",
       [](OrderTable& t) {
         t.DeleteAllRows();
         return std::to_string(t.RowCount()) + "|" + std::to_string(t.ColumnCount());
       }},
  };

  MemoryOrderTable reference;
  for (const Step& step : steps) {
    ASSERT_EQ(step.run(table), step.run(reference)) << step.what;
    const TableSnapshot mine = table.Snapshot();
    const TableSnapshot theirs = reference.Snapshot();
    ASSERT_EQ(mine.titles, theirs.titles) << step.what;
    ASSERT_EQ(mine.rows, theirs.rows) << step.what;
  }
  EXPECT_EQ(table.View()->horizontalHeader()->sectionSize(23), 100);
}

TEST_F(QtOrderTableFixture, SelectedRowFollowsTheSelectionAndDeletion) {
  for (int i = 0; i < 3; ++i) table.AppendFilledRow({}, RowNumbering::InFirstColumn);
  EXPECT_EQ(table.SelectedRow(), -1);
  table.View()->selectRow(2);
  EXPECT_EQ(table.SelectedRow(), 2);
  table.DeleteRow(table.SelectedRow());
  EXPECT_EQ(table.SelectedRow(), -1);
  table.View()->selectRow(1);
  table.DeleteRow(0);
  EXPECT_EQ(table.SelectedRow(), 0);  // the selection moves up with its row
  EXPECT_EQ(table.CellText(0, 0), "2");
}

TEST_F(QtOrderTableFixture, EnsureVisibleScrollsTheRowIntoView) {
  table.View()->setGeometry(0, 0, 400, 200);
  page.show();
  for (int i = 0; i < 300; ++i) table.AppendFilledRow({}, RowNumbering::InFirstColumn);
  const auto visible = [&](int row) {
    const QRect cell = table.View()->visualRect(table.Model()->index(row, 0));
    return table.View()->viewport()->rect().contains(cell);
  };
  ASSERT_FALSE(visible(250));
  table.EnsureVisible(250);
  EXPECT_TRUE(visible(250));
  table.EnsureVisible(300);  // no such row: nothing moves, nothing breaks
  table.EnsureVisible(-1);
  EXPECT_TRUE(visible(250));
}

TEST_F(QtOrderTableFixture, CallsFromAWorkerTakeEffectOnTheUiThreadBeforeTheyReturn) {
  std::vector<QThread*> changedOn;
  QObject::connect(table.Model(), &QAbstractItemModel::rowsInserted, &page,
                   [&] { changedOn.push_back(QThread::currentThread()); });

  std::vector<int> countsSeenByWorker;
  std::atomic<bool> workerDone{false};
  std::thread worker([&] {
    for (int i = 0; i < 50; ++i) {
      const int row = table.AppendRow();
      table.SetCellText(row, kColumnOrderId, std::to_string(i));
      countsSeenByWorker.push_back(table.RowCount());
    }
    workerDone = true;
  });
  // The worker needs the UI thread until its last call has returned.
  const bool finished = test::ServeEventsUntil([&] { return workerDone.load(); });
  worker.join();

  ASSERT_TRUE(finished);
  ASSERT_EQ(changedOn.size(), 50u);
  for (QThread* thread : changedOn) EXPECT_EQ(thread, page.thread());
  for (int i = 0; i < 50; ++i) EXPECT_EQ(countsSeenByWorker[i], i + 1);
  EXPECT_EQ(table.CellText(49, kColumnOrderId), "49");
}

}  // namespace
}  // namespace varnola
