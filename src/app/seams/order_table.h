#pragma once

#include <string>
#include <vector>

namespace varnola {

enum class Alignment { Left, Centre, Right };

// Row 0 of a workbook and every row of the table, taken at one moment.
struct TableSnapshot {
  std::vector<std::string> titles;
  std::vector<std::vector<std::string>> rows;
};

enum class RowNumbering {
  None,           // the cells fill the row from column 0
  InFirstColumn,  // column 0 receives the row's 1-based position instead of cells[0]
};

// The order table as the commands see it. Rows and columns are 0-based; texts are local
// text. Every operation may be called from any thread; an implementation that belongs to
// a window carries the call to the window's thread and returns once it took effect.
class OrderTable {
 public:
  virtual ~OrderTable() = default;

  virtual void DeleteAllRows() = 0;
  // Index of the new row with empty cells, -1 if it could not be added.
  virtual int AppendRow() = 0;
  // Nothing happens for a row or column that does not exist.
  virtual void SetCellText(int row, int column, const std::string& text) = 0;
  // Empty for a row or column that does not exist.
  virtual std::string CellText(int row, int column) const = 0;
  virtual int RowCount() const = 0;
  virtual void EnsureVisible(int row) = 0;
  // Nothing happens for an index that does not exist, -1 included.
  virtual void DeleteRow(int row) = 0;
  // -1 when no row is selected.
  virtual int SelectedRow() const = 0;
  virtual int ColumnCount() const = 0;
  virtual std::string ColumnTitle(int column) const = 0;
  virtual int AppendColumn(const std::string& title, int width, Alignment alignment) = 0;

  // Appends a row and sets all its cells in one step, so that no other change of the
  // table can come between them. Returns the new row's index, -1 on failure.
  virtual int AppendFilledRow(const std::vector<std::string>& cells,
                              RowNumbering numbering = RowNumbering::None) = 0;

  // Sets texts[i] into column firstColumn + i of `row`, in one step, only while the row
  // still holds `key` in `keyColumn`. False when the row is gone or holds another key.
  virtual bool SetCellsIfKey(int row, int keyColumn, const std::string& key, int firstColumn,
                             const std::vector<std::string>& texts) = 0;

  // Titles and every row as they are now, in one step.
  virtual TableSnapshot Snapshot() const = 0;
};

}  // namespace varnola
