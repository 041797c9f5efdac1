#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "app/seams/order_table.h"

namespace varnola {

// The order table without a window: the headless tool's table and the tests' reference.
// Starts with the 23 order columns; every operation takes one lock, so each is atomic.
class MemoryOrderTable final : public OrderTable {
 public:
  MemoryOrderTable();

  void DeleteAllRows() override;
  int AppendRow() override;
  void SetCellText(int row, int column, const std::string& text) override;
  std::string CellText(int row, int column) const override;
  int RowCount() const override;
  void EnsureVisible(int row) override;
  void DeleteRow(int row) override;
  int SelectedRow() const override;
  int ColumnCount() const override;
  std::string ColumnTitle(int column) const override;
  int AppendColumn(const std::string& title, int width, Alignment alignment) override;
  int AppendFilledRow(const std::vector<std::string>& cells,
                      RowNumbering numbering = RowNumbering::None) override;
  bool SetCellsIfKey(int row, int keyColumn, const std::string& key, int firstColumn,
                     const std::vector<std::string>& texts) override;
  TableSnapshot Snapshot() const override;

  // Not part of the table's operations: the tests and the headless tool choose a row.
  void SelectRow(int row);

 private:
  bool HasCell(int row, int column) const;

  mutable std::mutex m_mutex;
  std::vector<std::string> m_titles;
  std::vector<std::vector<std::string>> m_rows;
  int m_selected = -1;
};

}  // namespace varnola
