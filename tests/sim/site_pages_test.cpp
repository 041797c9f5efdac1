#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "http/local_text.h"
#include "http/text_between.h"
#include "pattern_walk.h"
#include "sim_browser.h"
#include "support/local_literal.h"

namespace varnola::sim::test {
namespace {

using varnola::test::L;

std::string Blanks(int count) {
  return std::string(static_cast<std::size_t>(count), ' ');
}

// What the tool shows of a cell: the character references of the page resolved.
std::string Unescape(std::string text) {
  text = ReplaceAll(text, "&lt;", "<");
  text = ReplaceAll(text, "&gt;", ">");
  text = ReplaceAll(text, "&quot;", "\"");
  text = ReplaceAll(text, "&#39;", "'");
  return ReplaceAll(text, "&amp;", "&");
}

std::vector<std::string> Unescaped(std::vector<std::string> texts) {
  for (std::string& text : texts) text = Unescape(text);
  return texts;
}

class SitePagesTest : public RunningSim {
 protected:
  SimOptions Options() const override {
    SimOptions options = RunningSim::Options();
    options.orderCount = 150;
    return options;
  }

  int OrdersInState(int state) {
    return static_cast<int>(std::count_if(sim().orders().begin(), sim().orders().end(),
                                          [state](const SimOrder& o) { return o.state == state; }));
  }

  // The first order that fits, so each case below meets the kind of text it is about.
  const SimOrder& OrderWhere(const std::function<bool(const SimOrder&)>& wanted) {
    const auto it = std::find_if(sim().orders().begin(), sim().orders().end(), wanted);
    EXPECT_NE(it, sim().orders().end());
    return it == sim().orders().end() ? sim().orders().front() : *it;
  }
};

TEST_F(SitePagesTest, DashboardHoldsEveryFigureBetweenTheToolsMarkers) {
  Browser browser(sim().backendPort());
  const Page dashboard = SignIn(browser);
  ASSERT_EQ(dashboard.status, 200);
  const SimStore& store = sim().data().store;
  const std::string inner = "\n" + Blanks(20) + "<div class=\"inner\">\n" + Blanks(24) + "<h3>";
  const std::string countEnd = "</h3>\n" + Blanks(24);
  const std::string goodsEnd = "</span>\n" + Blanks(28);

  struct Marker {
    const char* value;
    std::string left, right;
    std::string expected;
  };
  const Marker markers[] = {
      {"awaiting payment", "<h3>", L(countEnd + "<p>待付款</p>"),
       std::to_string(OrdersInState(kAwaitingPayment))},
      {"awaiting shipment", "<div class=\"small-box bg-green\">" + inner,
       L(countEnd + "<p>待发货</p>"), std::to_string(OrdersInState(kAwaitingShipment))},
      {"awaiting receipt", "yellow\">" + inner, L(countEnd + "<p>待收货</p>\n"),
       std::to_string(OrdersInState(kAwaitingReceipt))},
      {"all orders", "<div class=\"small-box bg-red\">" + inner, L(countEnd + "<p>总订单</p>"),
       std::to_string(sim().orders().size())},
      {"on sale", "badge bg-green\">", L(goodsEnd + "<i class=\"fa fa-barcode\"></i> 销售中商品"),
       std::to_string(store.goodsOnSale)},
      {"withdrawn", "lass=\"badge bg-red\">",
       L(goodsEnd + "<i class=\"fa fa-download\"></i> 违规下架"),
       std::to_string(store.goodsWithdrawn)},
      {"in review", "=\"badge bg-purple\">", L(goodsEnd + "<i class=\"fa fa-sellsy\"></i> 待审待"),
       std::to_string(store.goodsInReview)},
      {"in warehouse", "an class=\"badge bg-aqua\">",
       L(goodsEnd + "<i class=\"fa  fa-home\"></i> 仓库中商品\n"),
       std::to_string(store.goodsInWarehouse)},
      {"store name", "ref=\"#\" target=\"_blank\">", "</a></dd>", L(store.name)},
      {"logo path", "<dd class=\"store-logo\"><p><img src=\"", "\"></p><a href=\"business_av",
       store.logoPath},
  };
  for (const Marker& m : markers) {
    EXPECT_EQ(TextBetween(dashboard.local, m.left, m.right), m.expected) << m.value;
  }
  EXPECT_TRUE(ContainsText(dashboard.local, kSuccessMarker));
  EXPECT_FALSE(ContainsText(dashboard.local, L("欢迎来到Varnola商城！")));
  EXPECT_GT(OrdersInState(kAwaitingPayment), 0) << "the data gives the counts something to show";
}

TEST_F(SitePagesTest, LoginPageHoldsItsTokenBetweenTheMarkers) {
  Browser browser(sim().backendPort());
  const Page login = browser.Get("/site/login");
  const std::string token = CsrfToken(login);
  ASSERT_FALSE(token.empty());
  EXPECT_EQ(token.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                    "0123456789-_"),
            std::string::npos)
      << "the tool posts the token unescaped, so it must not need escaping";
  EXPECT_EQ(CsrfToken(browser.Get("/site/login")), token) << "one token per session";
}

TEST_F(SitePagesTest, ListPagesHoldOneRowPerOrderOfTheirStateNewestFirst) {
  Browser browser(sim().backendPort());
  SignIn(browser);
  const PatternWalk pattern(L(kOrderListPattern));
  struct List {
    const char* path;
    std::optional<int> state;
  };
  const List lists[] = {{"/order/list?order_state=10", kAwaitingPayment},
                        {"/order/list?order_state=20", kAwaitingShipment},
                        {"/order/list?order_state=30", kAwaitingReceipt},
                        {"/order/list", std::nullopt}};
  for (const List& list : lists) {
    const Page page = browser.Get(list.path);
    ASSERT_EQ(page.status, 200) << list.path;
    std::vector<std::vector<std::string>> expected;
    for (auto it = sim().orders().rbegin(); it != sim().orders().rend(); ++it) {
      if (list.state && it->state != *list.state) continue;
      expected.push_back({L(it->orderNo), L(it->member), L(it->store), L(it->orderTotal),
                          L(it->payAmount), L(it->payTime), L(it->stateText),
                          std::to_string(it->id)});
    }
    const auto matches = pattern.Matches(page.local);
    ASSERT_EQ(matches.size(), expected.size()) << list.path;
    for (std::size_t i = 0; i < matches.size(); ++i) {
      EXPECT_EQ(Unescaped(matches[i]), expected[i]) << list.path << " row " << i;
    }
    // Nothing before the first order row looks like a cell of it.
    EXPECT_EQ(FindText(page.local, "<td>"), FindText(page.local, "<td>" + expected.front()[0]))
        << list.path;
    EXPECT_TRUE(ContainsText(page.local, "width:100%")) << "a literal % survives decoding";
  }
}

TEST_F(SitePagesTest, ListOfAnUnknownStateHasNoRows) {
  Browser browser(sim().backendPort());
  SignIn(browser);
  const Page page = browser.Get("/order/list?order_state=99");
  EXPECT_EQ(page.status, 200);
  EXPECT_TRUE(PatternWalk(L(kOrderListPattern)).Matches(page.local).empty());
  EXPECT_FALSE(ContainsText(page.local, "/order/edit?id="));
}

TEST_F(SitePagesTest, OrderPagesGiveAllThirteenFields) {
  Browser browser(sim().backendPort());
  SignIn(browser);
  const PatternWalk pattern(L(kOrderDetailPattern));
  const auto holds = [](const std::string& text, const char* what) {
    return text.find(what) != std::string::npos;
  };
  const SimOrder* cases[] = {
      &OrderWhere([&](const SimOrder& o) { return holds(o.message, "&"); }),
      &OrderWhere([&](const SimOrder& o) { return holds(o.message, "\""); }),
      &OrderWhere([&](const SimOrder& o) { return holds(o.message, "%"); }),
      &OrderWhere([&](const SimOrder& o) { return holds(o.message, "\xF0\x9F"); }),  // emoji
      &OrderWhere([&](const SimOrder& o) { return o.message.empty(); }),
      &OrderWhere([&](const SimOrder& o) { return holds(o.consignee, "䶮"); }),
      &OrderWhere([&](const SimOrder& o) { return holds(o.address, "𠮷"); }),
      &OrderWhere([&](const SimOrder& o) { return holds(o.goods, "<"); }),
      &OrderWhere([&](const SimOrder& o) { return !o.trackingNo.empty(); }),
      &OrderWhere([&](const SimOrder& o) { return o.state == kAwaitingPayment; }),
  };
  for (const SimOrder* order : cases) {
    const std::string path = "/order/edit?id=" + std::to_string(order->id);
    const Page page = browser.Get(path);
    ASSERT_EQ(page.status, 200) << path;
    const auto matches = pattern.Matches(page.local);
    ASSERT_EQ(matches.size(), 1u) << path;
    const std::vector<std::string> expected = {
        L(order->goods),      L(order->quantity),    L(order->packaging), L(order->unitPrice),
        L(order->totalPrice), L(order->detailTotal), L(order->payMethod), L(order->pickupMethod),
        L(order->message),    L(order->consignee),   L(order->telephone), L(order->address),
        L(order->trackingNo)};
    EXPECT_EQ(Unescaped(matches.front()), expected) << path;
  }
}

TEST_F(SitePagesTest, UnknownOrderIdsGiveAPageThatFitsNothing) {
  Browser browser(sim().backendPort());
  SignIn(browser);
  const PatternWalk detail(L(kOrderDetailPattern));
  const PatternWalk list(L(kOrderListPattern));
  for (const char* id : {"", "0", "99999999", "abc", "10001x", "-10001", "%E4%B8%AD"}) {
    const Page page = browser.Get(std::string("/order/edit?id=") + id);
    EXPECT_EQ(page.status, 404) << id;
    EXPECT_TRUE(detail.Matches(page.local).empty()) << id;
    EXPECT_TRUE(list.Matches(page.local).empty()) << id;
  }
}

TEST_F(SitePagesTest, ImageHostServesTheDashboardsLogoAsAPng) {
  httplib::Client images("127.0.0.1", sim().imagePort());
  const auto logo = images.Get("/" + sim().data().store.logoPath);
  ASSERT_TRUE(logo);
  EXPECT_EQ(logo->status, 200);
  EXPECT_EQ(logo->get_header_value("Content-Type"), "image/png");
  EXPECT_TRUE(logo->body.starts_with("\x89PNG\r\n\x1A\n"));
  const auto missing = images.Get("/uploads/store/other.png");
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->status, 404);
}

}  // namespace
}  // namespace varnola::sim::test
