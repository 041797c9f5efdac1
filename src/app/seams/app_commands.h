#pragma once

#include <string>

#include "app/seams/frontend.h"

namespace varnola {

// The order states of the back-end's order list; All lists every order.
enum class OrderState {
  AwaitingPayment = 10,
  AwaitingShipment = 20,
  AwaitingReceipt = 30,
  All = 0
};

// What the window's controls start. The window decides where each runs: directly on the UI
// thread, or through its command queue (one order command or import at a time, in click
// order).
class AppCommands {
 public:
  virtual ~AppCommands() = default;
  // "登陆": on the UI thread, directly.
  virtual void SignIn(Frontend& ui) = 0;
  // The three states: queued, on a worker thread. All: queued, on the UI thread.
  virtual void ListOrders(Frontend& ui, OrderState state) = 0;
  // "取详情": queued, on a worker thread.
  virtual void FetchDetails(Frontend& ui) = 0;
  // A drop of files: queued, on the UI thread. The text is local text.
  virtual void ImportWorkbook(Frontend& ui, const std::string& droppedText) = 0;
  // "导出订单": on the UI thread, directly.
  virtual void ExportOrders(Frontend& ui) = 0;
  // "查询当前订单物流": on the UI thread, directly.
  virtual void TrackParcel(Frontend& ui) = 0;
};

}  // namespace varnola
