#include "backend/order_list.h"

#include <vector>

#include "app/seams/order_columns.h"
#include "backend/html_text.h"
#include "backend/order_patterns.h"
#include "backend/progress.h"
#include "http/encodings.h"
#include "http/web_request.h"

namespace varnola {
namespace {

struct ListCommand {
  const char* announcement;
  const char* path;
  bool drivesProgress;  // only the all-orders list, which runs on the window's thread
};

ListCommand CommandFor(OrderState state) {
  switch (state) {
    case OrderState::AwaitingPayment:
      return {"正在获取未付款订单，请等待...", "/order/list?order_state=10", false};
    case OrderState::AwaitingShipment:
      return {"正在获取待发货订单，请等待...", "/order/list?order_state=20", false};
    case OrderState::AwaitingReceipt:
      return {"正在获取待收货订单，请等待...", "/order/list?order_state=30", false};
    case OrderState::All:
      break;
  }
  return {"正在获取总订单，请等待...", "/order/list", true};
}

constexpr int kListGroupCount = 8;

}  // namespace

void OrderListFetch(Frontend& ui, const AppConfig& config, RegexObject& regex, OrderState state,
                    std::string& pageText) {
  const ListCommand command = CommandFor(state);
  ui.announcer.Announce(Utf8ToLocal(command.announcement));
  ui.table.DeleteAllRows();

  pageText = UrlDecode(BodyText(WebRequest("http://" + config.backendHost + command.path)), true);
  regex.Execute(OrderListPattern(), pageText, true, true, true, false);
  ui.announcer.Announce(Utf8ToLocal("一共获取到") + std::to_string(regex.MatchCount()) +
                        Utf8ToLocal("笔订单数据"));
  if (command.drivesProgress) ui.window.SetProgress(1);

  const int count = regex.MatchCount();
  for (int i = 1; i <= count; ++i) {
    // The whole row goes in at once (column 0 receives its number), so a delete or a
    // clear from the menu can never meet a half-filled row.
    std::vector<std::string> cells(kListGroupCount + 1);
    for (int k = 1; k <= kListGroupCount; ++k) {
      cells[k] = DecodeHtmlEntities(regex.SubMatchText(i, k));
    }
    const int row = ui.table.AppendFilledRow(cells, RowNumbering::InFirstColumn);
    if (command.drivesProgress) ui.window.SetProgress(ProgressPercent(i, regex.MatchCount()));
    ui.table.EnsureVisible(row);
    ui.window.ProcessEvents();
  }
  ui.window.EnableButton(Button::Details);
}

}  // namespace varnola
