#pragma once

#include <string>

#include "http/byte_buffer.h"

namespace varnola {

enum class Button { Login, AllOrders, AwaitingPayment, AwaitingShipment, AwaitingReceipt, Details };

// The eight figure labels of the dashboard, in the order of their form names 标签3..标签10.
enum class Label {
  AwaitingPaymentCount,
  AwaitingShipmentCount,
  AwaitingReceiptCount,
  AllOrdersCount,
  GoodsOnSale,
  GoodsWithdrawn,
  GoodsAwaitingReview,
  GoodsInWarehouse,
};

// What the commands do to the main window. Texts are local text. Callable from any
// thread; a window carries the call to its own thread and returns once it took effect.
class MainWindowOps {
 public:
  virtual ~MainWindowOps() = default;

  virtual std::string AccountText() = 0;
  virtual std::string PasswordText() = 0;
  virtual void SetCaption(const std::string& text) = 0;
  virtual void SetLabelText(Label label, const std::string& text) = 0;
  virtual std::string LabelText(Label label) = 0;
  // Shows the image stretched to the box; an empty or undecodable body leaves no picture.
  virtual void SetPicture(const ByteBuffer& image) = 0;
  // 0..100.
  virtual void SetProgress(int position) = 0;
  virtual void EnableButton(Button button) = 0;
  // Lets the window repaint during a long loop; does nothing off the window's thread.
  virtual void ProcessEvents() = 0;
};

}  // namespace varnola
