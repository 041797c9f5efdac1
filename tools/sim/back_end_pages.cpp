#include "sim/back_end_pages.h"

#include <string_view>

#include "sim/html_template.h"
#include "sim/site_templates.h"

namespace varnola::sim {
namespace {

std::string AdminPage(const SimData& data, std::string_view title, const std::string& content,
                      const std::string& csrf) {
  return RenderTemplate(templates::kAdminLayout, {{"csrf", csrf},
                                                  {"title", title},
                                                  {"logoPath", data.store.logoPath},
                                                  {"storeName", data.store.name},
                                                  {"content", content}});
}

std::string ListTitle(std::optional<int> state) {
  return state ? StateText(*state) + "订单" : std::string("全部订单");
}

}  // namespace

std::string LoginPage(const std::string& csrf, const std::string& username,
                      const std::string& error) {
  const std::string errorBlock =
      error.empty() ? std::string()
                    : "        <div class=\"alert alert-danger\">" + HtmlEscape(error) + "</div>";
  return RenderTemplate(templates::kLoginPage,
                        {{"csrf", csrf}, {"username", username}, {"errorBlock", errorBlock}});
}

std::string DashboardPage(const SimData& data, const std::string& csrf) {
  const int all = static_cast<int>(data.orders.size());
  const int done = data.CountInState(kDone);
  const std::string doneShare = std::to_string(all == 0 ? 0 : done * 100 / all);
  const std::string awaitingPayment = std::to_string(data.CountInState(kAwaitingPayment));
  const std::string awaitingShipment = std::to_string(data.CountInState(kAwaitingShipment));
  const std::string awaitingReceipt = std::to_string(data.CountInState(kAwaitingReceipt));
  const std::string allOrders = std::to_string(all);
  const std::string onSale = std::to_string(data.store.goodsOnSale);
  const std::string withdrawn = std::to_string(data.store.goodsWithdrawn);
  const std::string inReview = std::to_string(data.store.goodsInReview);
  const std::string inWarehouse = std::to_string(data.store.goodsInWarehouse);
  const std::string content =
      RenderTemplate(templates::kDashboard, {{"awaitingPayment", awaitingPayment},
                                             {"awaitingShipment", awaitingShipment},
                                             {"awaitingReceipt", awaitingReceipt},
                                             {"allOrders", allOrders},
                                             {"onSale", onSale},
                                             {"withdrawn", withdrawn},
                                             {"inReview", inReview},
                                             {"inWarehouse", inWarehouse},
                                             {"doneShare", doneShare}});
  return AdminPage(data, "控制面板", content, csrf);
}

std::string OrderListPage(const SimData& data, std::optional<int> state, const std::string& csrf) {
  std::string rows;
  int count = 0;
  for (auto it = data.orders.rbegin(); it != data.orders.rend(); ++it) {
    const SimOrder& order = *it;
    if (state && order.state != *state) continue;
    const std::string id = std::to_string(order.id);
    RenderTemplate(templates::kOrderListRow,
                   {{"orderNo", order.orderNo},
                    {"member", order.member},
                    {"store", order.store},
                    {"orderTotal", order.orderTotal},
                    {"payAmount", order.payAmount},
                    {"payTime", order.payTime},
                    {"stateText", order.stateText},
                    {"id", id}},
                   rows);
    ++count;
  }
  if (count == 0) rows = templates::kNoOrdersRow;
  const std::string title = ListTitle(state);
  const std::string countText = std::to_string(count);
  const std::string content = RenderTemplate(
      templates::kOrderList, {{"stateName", title}, {"count", countText}, {"rows", rows}});
  return AdminPage(data, title, content, csrf);
}

std::string OrderDetailPage(const SimData& data, const SimOrder& order, const std::string& csrf) {
  const std::string content =
      RenderTemplate(templates::kOrderDetail, {{"orderNo", order.orderNo},
                                               {"member", order.member},
                                               {"stateText", order.stateText},
                                               {"payTime", order.payTime},
                                               {"goods", order.goods},
                                               {"quantity", order.quantity},
                                               {"packaging", order.packaging},
                                               {"unitPrice", order.unitPrice},
                                               {"totalPrice", order.totalPrice},
                                               {"detailTotal", order.detailTotal},
                                               {"payMethod", order.payMethod},
                                               {"pickupMethod", order.pickupMethod},
                                               {"message", order.message},
                                               {"consignee", order.consignee},
                                               {"telephone", order.telephone},
                                               {"address", order.address},
                                               {"trackingNo", order.trackingNo}});
  return AdminPage(data, "订单详情", content, csrf);
}

std::string MissingOrderPage(const SimData& data, const std::string& id, const std::string& csrf) {
  return AdminPage(data, "订单详情", RenderTemplate(templates::kMissingOrder, {{"id", id}}), csrf);
}

std::string NotFoundPage() {
  return std::string(templates::kNotFound);
}

}  // namespace varnola::sim
