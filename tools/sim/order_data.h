#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace varnola::sim {

inline constexpr int kMaxOrderCount = 100000;

// The order states of the back-end.
inline constexpr int kAwaitingPayment = 10;
inline constexpr int kAwaitingShipment = 20;
inline constexpr int kAwaitingReceipt = 30;
inline constexpr int kDone = 40;

// One order as the back-end stores it. Every text is UTF-8 and is shown on the pages
// exactly so (HTML-escaped): the list shows orderNo..stateText, the order page the rest.
struct SimOrder {
  int id = 0;  // the key of the order page, "/order/edit?id=<id>"
  std::string orderNo;
  std::string member;
  std::string store;
  std::string orderTotal;  // "¥138.00"
  std::string payAmount;   // plain decimal, "0.00" while unpaid
  std::string payTime;     // empty while unpaid
  int state = kAwaitingPayment;
  std::string stateText;
  std::string goods;
  std::string quantity;
  std::string packaging;
  std::string unitPrice;
  std::string totalPrice;
  std::string detailTotal;  // the order page's total, shipping included
  std::string payMethod;
  std::string pickupMethod;
  std::string message;
  std::string consignee;
  std::string telephone;
  std::string address;
  std::string city;  // the address's city, where the parcel goes
  std::string trackingNo;

  bool operator==(const SimOrder&) const = default;
};

struct SimStore {
  std::string name;
  std::string logoPath;  // on the image host, without the leading "/"
  int goodsOnSale = 0;
  int goodsWithdrawn = 0;  // withdrawn for violations
  int goodsInReview = 0;
  int goodsInWarehouse = 0;

  bool operator==(const SimStore&) const = default;
};

struct SimData {
  SimStore store;
  std::vector<SimOrder> orders;  // in id order, oldest first

  int CountInState(int state) const;
  const SimOrder* FindOrder(int id) const;
  const SimOrder* FindByTrackingNo(const std::string& trackingNo) const;
};

// The same seed gives the same data; order i does not depend on the count, so a larger
// count only adds orders after the same ones.
SimData GenerateSimData(int orderCount, std::uint64_t seed);

std::string StateText(int state);

}  // namespace varnola::sim
