#pragma once

#include <string>
#include <vector>

#include "sim/order_data.h"

namespace varnola::test {

// Columns 1..21 of an order's row as the simulator's data says the merchant must see
// them, in UTF-8: the eight listed texts (the id last), then the thirteen details.
inline std::vector<std::string> OrderCellsUtf8(const sim::SimOrder& order) {
  return {order.orderNo,    order.member,      order.store,     order.orderTotal,
          order.payAmount,  order.payTime,     order.stateText, std::to_string(order.id),
          order.goods,      order.quantity,    order.packaging, order.unitPrice,
          order.totalPrice, order.detailTotal, order.payMethod, order.pickupMethod,
          order.message,    order.consignee,   order.telephone, order.address,
          order.trackingNo};
}

}  // namespace varnola::test
