// The program's two page patterns against pages in the back-end's look, searched with the
// flags the list and detail commands use.

#include "backend/order_patterns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "http/encodings.h"
#include "http/local_text.h"
#include "regex/order_page_fixtures.h"
#include "regex/regex_object.h"
#include "support/local_literal.h"

namespace varnola {
namespace {

using test::L;

constexpr bool kListCaseSensitive = true;
constexpr bool kDetailCaseSensitive = false;

bool RunList(RegexObject& regex, const std::string& utf8Page) {
  return regex.Execute(OrderListPattern(), UrlDecode(utf8Page, true), kListCaseSensitive);
}

bool RunDetail(RegexObject& regex, const std::string& utf8Page) {
  return regex.Execute(OrderDetailPattern(), UrlDecode(utf8Page, true), kDetailCaseSensitive);
}

TEST(OrderPatterns, AreTheProgramsPatternsExactly) {
  const std::string& list = OrderListPattern();
  EXPECT_EQ(ToWideText(list, kCodePageLocal).size(), 198u);
  EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 1);
  EXPECT_TRUE(list.find("<td>\n[\\s\\S]+?<a href=\"/order/edit\\?id=(.*?)\"") != std::string::npos);

  const std::string& detail = OrderDetailPattern();
  EXPECT_EQ(ToWideText(detail, kCodePageLocal).size(), 915u);
  EXPECT_EQ(detail.size(), 960u);
  EXPECT_EQ(std::count(detail.begin(), detail.end(), '\n'), 7);
  EXPECT_TRUE(ContainsText(detail, L("<td>收 货 人：</td>[\\s\\S]+?<td>(.*?)</td>\n")));

  RegexObject regex;
  ASSERT_TRUE(regex.Execute(detail, ""));
  ASSERT_TRUE(regex.Execute(detail + "|(x)", "x"));
  EXPECT_EQ(regex.SubMatchCount(), 14);  // thirteen groups, and the one added here
}

TEST(OrderListPattern, TakesOneMatchPerOrderRow) {
  const std::vector<test::ListOrder> orders = {test::SampleListOrder(1), test::SampleListOrder(2),
                                               test::SampleListOrder(3)};
  RegexObject regex;
  ASSERT_TRUE(RunList(regex, test::OrderListPage(orders)));
  ASSERT_EQ(regex.MatchCount(), 3);
  for (int i = 1; i <= 3; ++i) {
    const test::ListOrder& o = orders[static_cast<std::size_t>(i - 1)];
    const std::vector<std::string> expected = {o.number, o.member, o.store, o.total,
                                               o.paid,   o.paidAt, o.state, o.id};
    for (int k = 1; k <= 8; ++k) {
      EXPECT_EQ(regex.SubMatchText(i, k), L(expected[static_cast<std::size_t>(k - 1)]))
          << "order " << i << " group " << k;
    }
  }
}

TEST(OrderListPattern, IdIsCopiedUpToTheClosingQuote) {
  test::ListOrder order = test::SampleListOrder(1);
  order.id = "12&x=中 7";
  RegexObject regex;
  ASSERT_TRUE(RunList(regex, test::OrderListPage({order})));
  ASSERT_EQ(regex.MatchCount(), 1);
  EXPECT_EQ(regex.SubMatchText(1, 8), L("12&x=中 7"));
}

TEST(OrderListPattern, EmptyCellsAndNoOrders) {
  test::ListOrder order = test::SampleListOrder(1);
  order.paidAt = "";
  RegexObject regex;
  ASSERT_TRUE(RunList(regex, test::OrderListPage({order})));
  ASSERT_EQ(regex.MatchCount(), 1);
  EXPECT_EQ(regex.SubMatchText(1, 6), "");
  EXPECT_EQ(regex.SubMatchText(1, 7), L("待发货"));

  ASSERT_TRUE(RunList(regex, test::OrderListPage({})));
  EXPECT_EQ(regex.MatchCount(), 0);
}

TEST(OrderListPattern, EighthCellMustEndItsLine) {
  // The second row's action cell is written on one line: that row cannot end a match,
  // so the search carries its cells on to the third row's link.
  const std::vector<test::ListOrder> orders = {test::SampleListOrder(1), test::SampleListOrder(2),
                                               test::SampleListOrder(3)};
  std::string page = test::OrderListPage(orders);
  const std::string link = "<a href=\"/order/edit?id=" + orders[1].id + "\"";
  const std::size_t at = page.find(link);
  ASSERT_NE(at, std::string::npos);
  const std::size_t cellEnd = page.rfind("<td>\n", at);
  page.erase(cellEnd + 4, at - (cellEnd + 4));

  RegexObject regex;
  ASSERT_TRUE(RunList(regex, page));
  ASSERT_EQ(regex.MatchCount(), 2);
  EXPECT_EQ(regex.SubMatchText(2, 1), L(orders[1].number));
  EXPECT_EQ(regex.SubMatchText(2, 8), L(orders[2].id));
}

TEST(OrderListPattern, UpperCaseTagsDoNotMatch) {
  std::string page = test::OrderListPage({test::SampleListOrder(1)});
  page = ReplaceAll(ReplaceAll(page, "<td>", "<TD>"), "</td>", "</TD>");
  RegexObject regex;
  ASSERT_TRUE(RunList(regex, page));
  EXPECT_EQ(regex.MatchCount(), 0);
}

void ExpectAllFields(const RegexObject& regex, int match, const test::OrderDetails& fields) {
  for (int k = 1; k <= 13; ++k) {
    EXPECT_EQ(regex.SubMatchText(match, k), L(fields[static_cast<std::size_t>(k - 1)]))
        << "group " << k;
  }
}

TEST(OrderDetailPattern, TakesAllThirteenFields) {
  const test::OrderDetails fields = test::SampleDetails();
  RegexObject regex;
  ASSERT_TRUE(RunDetail(regex, test::OrderDetailPage(fields, 3, 20000)));
  ASSERT_EQ(regex.MatchCount(), 1);
  ExpectAllFields(regex, 1, fields);
}

TEST(OrderDetailPattern, TagCaseDoesNotMatter) {
  const test::OrderDetails fields = test::SampleDetails();
  std::string page = test::OrderDetailPage(fields);
  for (const char* tag : {"tbody>", "tr>", "td>", "table>", "div"}) {
    std::string upper = tag;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    page = ReplaceAll(page, std::string("<") + tag, "<" + upper);
  }
  RegexObject regex;
  ASSERT_TRUE(RunDetail(regex, page));
  ASSERT_EQ(regex.MatchCount(), 1);
  ExpectAllFields(regex, 1, fields);
}

struct NearMiss {
  const char* name;
  const char* from;  // UTF-8, replaced wherever it stands in the page
  const char* to;
};

class OrderDetailNearMiss : public ::testing::TestWithParam<NearMiss> {};

TEST_P(OrderDetailNearMiss, GivesNoMatchAtAll) {
  std::string page = test::OrderDetailPage(test::SampleDetails(), 3, 20000);
  const std::string from = GetParam().from;
  ASSERT_NE(page.find(from), std::string::npos);
  for (std::size_t at = page.find(from); at != std::string::npos; at = page.find(from, at)) {
    page.replace(at, from.size(), GetParam().to);
  }
  RegexObject regex;
  ASSERT_TRUE(RunDetail(regex, page));
  EXPECT_EQ(regex.MatchCount(), 0);
  EXPECT_EQ(regex.SubMatchText(1, 13), "");
}

const NearMiss kNearMisses[] = {
    {"PackingWithFullWidthColon", "包装方式:", "包装方式："},
    {"NoOrderTotal", "订单总价：", "订单金额："},
    {"NoLogisticsBox", "物流信息", "配送信息"},
    {"NoTelephone", "联系电话：", "联系方式："},
    {"ConsigneeLabelWithoutSpaces", "收 货 人：", "收货人："},
    {"NoTrackingNumber", "物流单号：", "快递单号："},
    {"AddressRowWithoutLineFeed",
     "</td>\n                  </tr>\n                  <tr>\n"
     "                    <td>物流单号",
     "</td>\n                  </tr> <tr>\n                    <td>物流单号"},
};

INSTANTIATE_TEST_SUITE_P(OrderDetailPattern, OrderDetailNearMiss, ::testing::ValuesIn(kNearMisses),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace varnola
