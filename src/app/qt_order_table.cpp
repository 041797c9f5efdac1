#include "app/qt_order_table.h"

#include <algorithm>

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

#include "app/seams/order_columns.h"

namespace varnola {
namespace {

constexpr auto kRepaintInterval = std::chrono::milliseconds(40);

void ConfigureView(QTableView& view) {
  view.setSelectionBehavior(QAbstractItemView::SelectRows);
  view.setSelectionMode(QAbstractItemView::SingleSelection);
  view.setEditTriggers(QAbstractItemView::NoEditTriggers);
  view.setSortingEnabled(false);
  view.setShowGrid(true);
  view.setWordWrap(false);
  view.setCornerButtonEnabled(false);
  view.setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  view.setContextMenuPolicy(Qt::CustomContextMenu);

  // Every row has the same height and every column a set width, so appending a row or
  // changing a cell never makes the view measure the other rows.
  QHeaderView* rows = view.verticalHeader();
  rows->hide();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(view.fontMetrics().height() + 6);

  QHeaderView* columns = view.horizontalHeader();
  columns->setMinimumSectionSize(8);
  columns->setDefaultSectionSize(kDefaultColumnWidth);
  columns->setSectionResizeMode(QHeaderView::Interactive);
  columns->setStretchLastSection(false);
  columns->setSectionsClickable(false);
  columns->setHighlightSections(false);
}

}  // namespace

QtOrderTable::QtOrderTable(QWidget* parent, UiThreadCaller& ui)
    : m_ui(ui),
      m_model(nullptr),
      m_view(new QTableView(parent)),
      m_throttle(new RepaintThrottle(*m_view, kRepaintInterval)) {
  m_model = new OrderTableModel(m_view);
  m_view->setModel(m_model);
  ConfigureView(*m_view);
}

template <typename F>
std::invoke_result_t<F> QtOrderTable::Change(F&& change, std::invoke_result_t<F> fallback) {
  return m_ui.Call(
      [&] {
        m_throttle->Changed();
        return change();
      },
      std::move(fallback));
}

void QtOrderTable::Change(const std::function<void()>& change) {
  m_ui.Call([&] {
    m_throttle->Changed();
    change();
  });
}

void QtOrderTable::DeleteAllRows() {
  Change([&] { m_model->DeleteAllRows(); });
}

int QtOrderTable::AppendRow() {
  return Change([&] { return m_model->AppendRow(); }, -1);
}

void QtOrderTable::SetCellText(int row, int column, const std::string& text) {
  Change([&] { m_model->SetCellText(row, column, text); });
}

std::string QtOrderTable::CellText(int row, int column) const {
  return m_ui.Call([&] { return m_model->CellText(row, column); });
}

int QtOrderTable::RowCount() const {
  return m_ui.Call([&] { return m_model->rowCount(); });
}

void QtOrderTable::EnsureVisible(int row) {
  Change([&] {
    if (row < 0 || row >= m_model->rowCount()) return;
    // Keep the horizontal position: only the rows scroll into view.
    const int column = std::max(m_view->columnAt(0), 0);
    m_view->scrollTo(m_model->index(row, column), QAbstractItemView::EnsureVisible);
  });
}

void QtOrderTable::DeleteRow(int row) {
  Change([&] {
    if (row < 0 || row >= m_model->rowCount()) return;
    QItemSelectionModel* selection = m_view->selectionModel();
    const bool wasSelected = selection->isRowSelected(row, {});
    m_model->DeleteRow(row);
    // The view would select a neighbour of a deleted selected row; the list leaves no row
    // selected, so that a second "delete" cannot remove a row nobody chose.
    if (wasSelected) selection->clearSelection();
  });
}

int QtOrderTable::SelectedRow() const {
  return m_ui.Call(
      [&] {
        int first = -1;
        for (const QModelIndex& index : m_view->selectionModel()->selectedRows()) {
          if (first < 0 || index.row() < first) first = index.row();
        }
        return first;
      },
      -1);
}

int QtOrderTable::ColumnCount() const {
  return m_ui.Call([&] { return m_model->columnCount(); });
}

std::string QtOrderTable::ColumnTitle(int column) const {
  return m_ui.Call([&] { return m_model->ColumnTitle(column); });
}

int QtOrderTable::AppendColumn(const std::string& title, int width, Alignment alignment) {
  return Change(
      [&] {
        const int column = m_model->AppendColumn(title, alignment);
        m_view->horizontalHeader()->resizeSection(column, std::max(width, 0));
        return column;
      },
      -1);
}

int QtOrderTable::AppendFilledRow(const std::vector<std::string>& cells, RowNumbering numbering) {
  return Change([&] { return m_model->AppendFilledRow(cells, numbering); }, -1);
}

bool QtOrderTable::SetCellsIfKey(int row, int keyColumn, const std::string& key, int firstColumn,
                                 const std::vector<std::string>& texts) {
  return Change([&] { return m_model->SetCellsIfKey(row, keyColumn, key, firstColumn, texts); },
                false);
}

TableSnapshot QtOrderTable::Snapshot() const {
  return m_ui.Call([&] { return m_model->Snapshot(); });
}

}  // namespace varnola
