#pragma once

#include <QMenu>

namespace varnola {

// The popup menu of the order table: six items, all enabled, no separators, no shortcuts.
class OrderMenu final : public QMenu {
  Q_OBJECT

 public:
  explicit OrderMenu(QWidget* parent = nullptr);

  // Opens the menu at the cursor, 3 pixels right and 3 pixels down; returns at once.
  void OpenAtCursor(const QPoint& cursorGlobal);

  QAction* exportOrders;
  QAction* importHint;
  QAction* ship;
  QAction* trackParcel;
  QAction* deleteRow;
  QAction* clearRows;
};

}  // namespace varnola
