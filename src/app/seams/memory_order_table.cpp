#include "app/seams/memory_order_table.h"

#include "app/seams/order_columns.h"

namespace varnola {

MemoryOrderTable::MemoryOrderTable() : m_titles(OrderColumnTitles()) {}

bool MemoryOrderTable::HasCell(int row, int column) const {
  return row >= 0 && column >= 0 && row < static_cast<int>(m_rows.size()) &&
         column < static_cast<int>(m_titles.size());
}

void MemoryOrderTable::DeleteAllRows() {
  std::lock_guard lock(m_mutex);
  m_rows.clear();
  m_selected = -1;
}

int MemoryOrderTable::AppendRow() {
  std::lock_guard lock(m_mutex);
  m_rows.emplace_back(m_titles.size());
  return static_cast<int>(m_rows.size()) - 1;
}

void MemoryOrderTable::SetCellText(int row, int column, const std::string& text) {
  std::lock_guard lock(m_mutex);
  if (HasCell(row, column)) m_rows[row][column] = text;
}

std::string MemoryOrderTable::CellText(int row, int column) const {
  std::lock_guard lock(m_mutex);
  return HasCell(row, column) ? m_rows[row][column] : std::string();
}

int MemoryOrderTable::RowCount() const {
  std::lock_guard lock(m_mutex);
  return static_cast<int>(m_rows.size());
}

void MemoryOrderTable::EnsureVisible(int) {}

void MemoryOrderTable::DeleteRow(int row) {
  std::lock_guard lock(m_mutex);
  if (row < 0 || row >= static_cast<int>(m_rows.size())) return;
  m_rows.erase(m_rows.begin() + row);
  if (m_selected == row) {
    m_selected = -1;
  } else if (m_selected > row) {
    --m_selected;
  }
}

int MemoryOrderTable::SelectedRow() const {
  std::lock_guard lock(m_mutex);
  return m_selected;
}

int MemoryOrderTable::ColumnCount() const {
  std::lock_guard lock(m_mutex);
  return static_cast<int>(m_titles.size());
}

std::string MemoryOrderTable::ColumnTitle(int column) const {
  std::lock_guard lock(m_mutex);
  if (column < 0 || column >= static_cast<int>(m_titles.size())) return {};
  return m_titles[column];
}

int MemoryOrderTable::AppendColumn(const std::string& title, int, Alignment) {
  std::lock_guard lock(m_mutex);
  m_titles.push_back(title);
  for (auto& row : m_rows) row.emplace_back();
  return static_cast<int>(m_titles.size()) - 1;
}

int MemoryOrderTable::AppendFilledRow(const std::vector<std::string>& cells,
                                      RowNumbering numbering) {
  std::lock_guard lock(m_mutex);
  std::vector<std::string> row(m_titles.size());
  for (std::size_t k = 0; k < cells.size() && k < row.size(); ++k) row[k] = cells[k];
  const int index = static_cast<int>(m_rows.size());
  if (numbering == RowNumbering::InFirstColumn && !row.empty()) row[0] = std::to_string(index + 1);
  m_rows.push_back(std::move(row));
  return index;
}

bool MemoryOrderTable::SetCellsIfKey(int row, int keyColumn, const std::string& key,
                                     int firstColumn, const std::vector<std::string>& texts) {
  std::lock_guard lock(m_mutex);
  if (!HasCell(row, keyColumn) || m_rows[row][keyColumn] != key) return false;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const int column = firstColumn + static_cast<int>(i);
    if (HasCell(row, column)) m_rows[row][column] = texts[i];
  }
  return true;
}

TableSnapshot MemoryOrderTable::Snapshot() const {
  std::lock_guard lock(m_mutex);
  return TableSnapshot{m_titles, m_rows};
}

void MemoryOrderTable::SelectRow(int row) {
  std::lock_guard lock(m_mutex);
  m_selected = (row >= 0 && row < static_cast<int>(m_rows.size())) ? row : -1;
}

}  // namespace varnola
