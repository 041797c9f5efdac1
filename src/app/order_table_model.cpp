#include "app/order_table_model.h"

#include <algorithm>

#include "app/seams/order_columns.h"
#include "http/encodings.h"

namespace varnola {
namespace {

QString ToQString(const std::string& localText) {
  return QString::fromStdString(LocalToUtf8(localText));
}

Qt::Alignment ToQt(Alignment alignment) {
  switch (alignment) {
    case Alignment::Centre:
      return Qt::AlignHCenter | Qt::AlignVCenter;
    case Alignment::Right:
      return Qt::AlignRight | Qt::AlignVCenter;
    case Alignment::Left:
      break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace

OrderTableModel::OrderTableModel(QObject* parent)
    : QAbstractTableModel(parent),
      m_titles(OrderColumnTitles()),
      m_alignments(m_titles.size(), Alignment::Left) {}

int OrderTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Rows();
}

int OrderTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Columns();
}

QVariant OrderTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || !HasCell(index.row(), index.column())) return {};
  if (role == Qt::DisplayRole) return ToQString(m_rows[index.row()][index.column()]);
  if (role == Qt::TextAlignmentRole) return QVariant(ToQt(m_alignments[index.column()]));
  return {};
}

QVariant OrderTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= Columns()) return {};
  if (role == Qt::DisplayRole) return ToQString(m_titles[section]);
  if (role == Qt::TextAlignmentRole) return QVariant(ToQt(m_alignments[section]));
  return {};
}

bool OrderTableModel::HasCell(int row, int column) const {
  return row >= 0 && column >= 0 && row < Rows() && column < Columns();
}

void OrderTableModel::DeleteAllRows() {
  if (m_rows.empty()) return;
  beginResetModel();
  m_rows.clear();
  endResetModel();
}

int OrderTableModel::AppendRow() {
  return AppendFilledRow({}, RowNumbering::None);
}

void OrderTableModel::SetCellText(int row, int column, const std::string& text) {
  if (!HasCell(row, column)) return;
  m_rows[row][column] = text;
  const QModelIndex cell = index(row, column);
  emit dataChanged(cell, cell, {Qt::DisplayRole});
}

std::string OrderTableModel::CellText(int row, int column) const {
  return HasCell(row, column) ? m_rows[row][column] : std::string();
}

void OrderTableModel::DeleteRow(int row) {
  if (row < 0 || row >= Rows()) return;
  beginRemoveRows({}, row, row);
  m_rows.erase(m_rows.begin() + row);
  endRemoveRows();
}

std::string OrderTableModel::ColumnTitle(int column) const {
  return column >= 0 && column < Columns() ? m_titles[column] : std::string();
}

int OrderTableModel::AppendColumn(const std::string& title, Alignment alignment) {
  const int column = Columns();
  beginInsertColumns({}, column, column);
  m_titles.push_back(title);
  m_alignments.push_back(alignment);
  for (auto& row : m_rows) row.emplace_back();
  endInsertColumns();
  return column;
}

int OrderTableModel::AppendFilledRow(const std::vector<std::string>& cells,
                                     RowNumbering numbering) {
  const int row = Rows();
  std::vector<std::string> texts(m_titles.size());
  std::copy_n(cells.begin(), std::min(cells.size(), texts.size()), texts.begin());
  if (numbering == RowNumbering::InFirstColumn && !texts.empty()) {
    texts[0] = std::to_string(row + 1);
  }
  beginInsertRows({}, row, row);
  m_rows.push_back(std::move(texts));
  endInsertRows();
  return row;
}

bool OrderTableModel::SetCellsIfKey(int row, int keyColumn, const std::string& key, int firstColumn,
                                    const std::vector<std::string>& texts) {
  if (!HasCell(row, keyColumn) || m_rows[row][keyColumn] != key) return false;
  int last = -1;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const int column = firstColumn + static_cast<int>(i);
    if (!HasCell(row, column)) continue;
    m_rows[row][column] = texts[i];
    last = column;
  }
  if (last >= 0) {
    emit dataChanged(index(row, std::max(firstColumn, 0)), index(row, last), {Qt::DisplayRole});
  }
  return true;
}

TableSnapshot OrderTableModel::Snapshot() const {
  return TableSnapshot{m_titles, m_rows};
}

}  // namespace varnola
