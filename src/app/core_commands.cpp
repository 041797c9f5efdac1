#include "app/core_commands.h"

#include "backend/order_details.h"
#include "backend/order_list.h"
#include "backend/parcel_tracking.h"
#include "backend/sign_in.h"
#include "excel/excel_bridge.h"
#include "excel/export_orders.h"
#include "excel/import_workbook.h"

namespace varnola {
namespace {

std::size_t ListPageSlot(OrderState state) {
  switch (state) {
    case OrderState::AwaitingPayment: return 0;
    case OrderState::AwaitingShipment: return 1;
    case OrderState::AwaitingReceipt: return 2;
    case OrderState::All: break;
  }
  return 3;
}

}  // namespace

CoreCommands::CoreCommands(AppConfig config) : m_config(std::move(config)) {}

void CoreCommands::SignIn(Frontend& ui) { m_signedIn = varnola::SignIn(ui, m_config, m_session); }

void CoreCommands::ListOrders(Frontend& ui, OrderState state) {
  OrderListFetch(ui, m_config, m_regex, state, m_listPages[ListPageSlot(state)]);
}

void CoreCommands::FetchDetails(Frontend& ui) {
  OrderDetailFetch(ui, m_config, m_regex, m_detailPage);
}

// Export and import process the window's events between cells, so one can start while the
// other runs (an export chosen from the menu during an import, an import queued during an
// export). Each run therefore has workbook components of its own: shared ones would let
// the inner run close the outer run's workbook, losing its rows or its file.
void CoreCommands::ImportWorkbook(Frontend& ui, const std::string& droppedText) {
  ExcelProgram program;
  ExcelWorkbook workbook;
  varnola::ImportWorkbook(ui, program, workbook, droppedText);
}

void CoreCommands::ExportOrders(Frontend& ui) {
  ExcelProgram program;
  ExcelWorkbook workbook;
  varnola::ExportOrders(ui, program, workbook);
}

void CoreCommands::TrackParcel(Frontend& ui) {
  varnola::TrackParcel(ui, m_config, m_lastTrackingText);
}

}  // namespace varnola
