#pragma once

#include <string>
#include <vector>

#include <QAbstractTableModel>

#include "app/seams/order_table.h"

namespace varnola {

// The rows of the order table, kept as local text exactly as the commands set them; the
// view converts only the cells it paints. Lives on the UI thread; every change tells the
// view only about the rows and cells it touched.
class OrderTableModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit OrderTableModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  void DeleteAllRows();
  int AppendRow();
  void SetCellText(int row, int column, const std::string& text);
  std::string CellText(int row, int column) const;
  void DeleteRow(int row);
  std::string ColumnTitle(int column) const;
  int AppendColumn(const std::string& title, Alignment alignment);
  int AppendFilledRow(const std::vector<std::string>& cells, RowNumbering numbering);
  bool SetCellsIfKey(int row, int keyColumn, const std::string& key, int firstColumn,
                     const std::vector<std::string>& texts);
  TableSnapshot Snapshot() const;

 private:
  bool HasCell(int row, int column) const;
  int Rows() const { return static_cast<int>(m_rows.size()); }
  int Columns() const { return static_cast<int>(m_titles.size()); }

  std::vector<std::string> m_titles;
  std::vector<Alignment> m_alignments;
  std::vector<std::vector<std::string>> m_rows;
};

}  // namespace varnola
