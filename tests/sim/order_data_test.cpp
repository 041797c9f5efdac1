#include <iconv.h>
#include <algorithm>
#include <cctype>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "sim/order_data.h"

namespace varnola::sim {
namespace {

// Whether code page 936 (GBK) can hold the UTF-8 text; GB18030 can hold everything.
bool FitsCodePage936(const std::string& utf8) {
  iconv_t cd = iconv_open("CP936", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return true;
  std::string in = utf8;
  std::string out(in.size() * 4 + 4, '\0');
  char* src = in.data();
  char* dst = out.data();
  std::size_t srcLeft = in.size(), dstLeft = out.size();
  const std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  return rc != static_cast<std::size_t>(-1);
}

bool AllDigits(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(),
                                      [](unsigned char c) { return std::isdigit(c) != 0; });
}

// "%" followed by two hexadecimal digits would be taken for an escape by the tool.
bool HasPercentEscape(const std::string& text) {
  for (std::size_t i = 0; i + 2 < text.size(); ++i) {
    if (text[i] == '%' && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      return true;
    }
  }
  return false;
}

TEST(OrderDataTest, TheSameSeedGivesTheSameData) {
  const SimData first = GenerateSimData(300, 42);
  const SimData again = GenerateSimData(300, 42);
  EXPECT_EQ(first.store, again.store);
  EXPECT_EQ(first.orders, again.orders);

  const SimData other = GenerateSimData(300, 43);
  EXPECT_NE(first.orders, other.orders);

  // A larger count only adds orders after the same ones.
  const SimData fewer = GenerateSimData(40, 42);
  ASSERT_EQ(fewer.orders.size(), 40u);
  EXPECT_TRUE(std::equal(fewer.orders.begin(), fewer.orders.end(), first.orders.begin()));
  EXPECT_TRUE(GenerateSimData(0, 42).orders.empty());
}

TEST(OrderDataTest, OrdersHoldTheTextsTheToolMustCarryThrough) {
  const SimData data = GenerateSimData(500, 42);
  std::set<std::string> numbers;
  std::set<int> states;
  int outside936 = 0, emoji = 0, ampersands = 0, quotes = 0, percents = 0, emptyMessages = 0;
  for (const SimOrder& order : data.orders) {
    EXPECT_GE(order.orderNo.size(), 18u);
    EXPECT_TRUE(AllDigits(order.orderNo)) << order.orderNo;
    numbers.insert(order.orderNo);
    states.insert(order.state);
    EXPECT_EQ(order.telephone.size(), 11u);
    EXPECT_TRUE(AllDigits(order.telephone));
    EXPECT_TRUE(order.orderTotal.starts_with("¥"));
    EXPECT_TRUE(order.unitPrice.starts_with("¥"));
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(order.payAmount.front())));
    EXPECT_EQ(order.payTime.empty(), order.state == kAwaitingPayment);
    const bool shipped = order.state == kAwaitingReceipt || order.state == kDone;
    if (!shipped) {
      EXPECT_TRUE(order.trackingNo.empty()) << order.id;
    }
    EXPECT_EQ(data.FindOrder(order.id), &order);

    if (!FitsCodePage936(order.consignee) || !FitsCodePage936(order.address)) ++outside936;
    if (order.message.find("\xF0\x9F") != std::string::npos) ++emoji;
    if (order.message.find('&') != std::string::npos) ++ampersands;
    if (order.message.find('"') != std::string::npos) ++quotes;
    if (order.message.find('%') != std::string::npos) ++percents;
    if (order.message.empty()) ++emptyMessages;
    EXPECT_FALSE(HasPercentEscape(order.message)) << order.message;
    for (const std::string* text :
         {&order.member, &order.goods, &order.message, &order.consignee, &order.address}) {
      EXPECT_EQ(text->find('\n'), std::string::npos) << "cells hold one line";
    }
  }
  EXPECT_EQ(numbers.size(), data.orders.size()) << "order numbers are unique";
  EXPECT_EQ(states, (std::set<int>{kAwaitingPayment, kAwaitingShipment, kAwaitingReceipt, kDone}));
  EXPECT_GT(outside936, 0);
  EXPECT_GT(emoji, 0);
  EXPECT_GT(ampersands, 0);
  EXPECT_GT(quotes, 0);
  EXPECT_GT(percents, 0);
  EXPECT_GT(emptyMessages, 0);
  EXPECT_FALSE(FitsCodePage936("䶮"));  // the check above can tell
  EXPECT_EQ(data.FindOrder(0), nullptr);
}

}  // namespace
}  // namespace varnola::sim
