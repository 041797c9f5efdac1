#include "app/seams/memory_order_table.h"

#include <gtest/gtest.h>

#include "app/seams/order_columns.h"
#include "support/local_literal.h"

namespace varnola {
namespace {

TEST(MemoryOrderTableTest, StartsWithTheOrderColumnsAndNoRows) {
  MemoryOrderTable table;
  EXPECT_EQ(table.ColumnCount(), 23);
  EXPECT_EQ(table.RowCount(), 0);
  EXPECT_EQ(table.ColumnTitle(0), test::L("序号"));
  EXPECT_EQ(table.ColumnTitle(5), table.ColumnTitle(14));
  EXPECT_EQ(table.ColumnTitle(22), test::L("备用"));
  EXPECT_EQ(table.ColumnTitle(23), "");
  EXPECT_EQ(table.SelectedRow(), -1);
}

TEST(MemoryOrderTableTest, OutOfRangeOperationsDoNothing) {
  MemoryOrderTable table;
  table.SetCellText(0, 0, "x");
  EXPECT_EQ(table.CellText(0, 0), "");
  const int row = table.AppendRow();
  table.SetCellText(row, 23, "x");
  table.SetCellText(row, -1, "x");
  EXPECT_EQ(table.CellText(row, 23), "");
  table.DeleteRow(-1);
  table.DeleteRow(1);
  EXPECT_EQ(table.RowCount(), 1);
}

TEST(MemoryOrderTableTest, DeletingARowKeepsTheOthersNumbers) {
  MemoryOrderTable table;
  for (int i = 0; i < 3; ++i) table.AppendFilledRow({""}, RowNumbering::InFirstColumn);
  table.SelectRow(1);
  table.DeleteRow(table.SelectedRow());
  ASSERT_EQ(table.RowCount(), 2);
  EXPECT_EQ(table.CellText(0, 0), "1");
  EXPECT_EQ(table.CellText(1, 0), "3");
  table.DeleteAllRows();
  EXPECT_EQ(table.ColumnCount(), 23);
}

TEST(MemoryOrderTableTest, KeyedWritesOnlyReachTheRowThatStillHoldsTheKey) {
  MemoryOrderTable table;
  std::vector<std::string> cells(kOrderColumnCount);
  cells[kColumnOrderId] = "42";
  const int row = table.AppendFilledRow(cells);
  EXPECT_TRUE(table.SetCellsIfKey(row, kColumnOrderId, "42", kColumnFirstDetail, {"goods"}));
  EXPECT_EQ(table.CellText(row, kColumnFirstDetail), "goods");
  EXPECT_FALSE(table.SetCellsIfKey(row, kColumnOrderId, "43", kColumnFirstDetail, {"other"}));
  EXPECT_FALSE(table.SetCellsIfKey(row + 1, kColumnOrderId, "42", kColumnFirstDetail, {"x"}));
  EXPECT_EQ(table.CellText(row, kColumnFirstDetail), "goods");
}

}  // namespace
}  // namespace varnola
