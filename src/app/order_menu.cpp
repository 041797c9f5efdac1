#include "app/order_menu.h"

#include "app/window_texts.h"

namespace varnola {

OrderMenu::OrderMenu(QWidget* parent)
    : QMenu(parent),
      exportOrders(addAction(texts::MenuExport())),
      importHint(addAction(texts::MenuImport())),
      ship(addAction(texts::MenuShip())),
      trackParcel(addAction(texts::MenuTrack())),
      deleteRow(addAction(texts::MenuDeleteRow())),
      clearRows(addAction(texts::MenuClear())) {
  setObjectName(QStringLiteral("OrderMenu"));
}

void OrderMenu::OpenAtCursor(const QPoint& cursorGlobal) {
  popup(cursorGlobal + QPoint(3, 3));
}

}  // namespace varnola
