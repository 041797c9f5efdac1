#pragma once

#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "app/order_table_model.h"
#include "app/repaint_throttle.h"
#include "app/seams/order_table.h"
#include "app/ui_thread_caller.h"

class QTableView;
class QWidget;

namespace varnola {

// The order table of the window: a report list with a header, grid lines, full-row single
// selection, no in-place editing and no sorting. Its operations may be called from any
// thread (the UI thread carries them out); each runs as one step, so no other change of
// the table comes between its parts.
class QtOrderTable final : public OrderTable {
 public:
  QtOrderTable(QWidget* parent, UiThreadCaller& ui);

  QTableView* View() const { return m_view; }
  OrderTableModel* Model() const { return m_model; }

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

 private:
  // Runs `change` on the UI thread and lets the view repaint it in due time.
  template <typename F>
  std::invoke_result_t<F> Change(F&& change, std::invoke_result_t<F> fallback);
  void Change(const std::function<void()>& change);

  UiThreadCaller& m_ui;
  OrderTableModel* m_model;     // owned by the view
  QTableView* m_view;           // owned by its parent widget
  RepaintThrottle* m_throttle;  // owned by the view
};

}  // namespace varnola
