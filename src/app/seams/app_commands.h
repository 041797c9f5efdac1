#pragma once

#include <string>

#include "app/seams/frontend.h"

namespace varnola {

enum class OrderState { AwaitingPayment = 10, AwaitingShipment = 20, AwaitingReceipt = 30, All = 0 };

// What the window's controls start; the core carries the commands out.
class AppCommands {
 public:
  virtual ~AppCommands() = default;
  virtual void SignIn(Frontend& ui) = 0;                        // "登陆": UI thread, directly
  virtual void ListOrders(Frontend& ui, OrderState state) = 0;  // queued: 10/20/30 on a worker,
                                                                // All on the UI thread
  virtual void FetchDetails(Frontend& ui) = 0;                  // "取详情": queued, on a worker
  virtual void ImportWorkbook(Frontend& ui, const std::string& droppedText) = 0;  // queued, UI
  virtual void ExportOrders(Frontend& ui) = 0;                  // menu: UI thread, directly
  virtual void TrackParcel(Frontend& ui) = 0;                   // menu: UI thread, directly
};

}  // namespace varnola
