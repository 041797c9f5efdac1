#include "backend/order_details.h"

#include <vector>

#include "app/seams/order_columns.h"
#include "backend/html_text.h"
#include "backend/order_patterns.h"
#include "backend/progress.h"
#include "backend/query_encoding.h"
#include "http/encodings.h"
#include "http/web_request.h"

namespace varnola {

void OrderDetailFetch(Frontend& ui, const AppConfig& config, RegexObject& regex,
                      std::string& pageText) {
  ui.announcer.Announce(Utf8ToLocal("正在获取订单详情，请等待..."));
  ui.window.SetProgress(2);

  const int rowCount = ui.table.RowCount();
  for (int i = 1; i <= rowCount; ++i) {
    const int row = i - 1;
    const std::string id = ui.table.CellText(row, kColumnOrderId);
    // The id may come from an imported workbook: encoded, it cannot add parameters.
    const std::string url =
        "http://" + config.backendHost + "/order/edit?id=" + EncodeQueryValue(id);
    pageText = UrlDecode(BodyText(WebRequest(url)), true);
    regex.Execute(OrderDetailPattern(), pageText, false, true, true, false);

    const int matches = regex.MatchCount();
    for (int j = 1; j <= matches; ++j) {
      std::vector<std::string> fields(kDetailFieldCount);
      for (int k = 1; k <= kDetailFieldCount; ++k) {
        fields[k - 1] = DecodeHtmlEntities(regex.SubMatchText(j, k));
      }
      // Written only while the row still holds the order the page was fetched for: a row
      // deleted or replaced meanwhile never receives another order's details.
      ui.table.SetCellsIfKey(row, kColumnOrderId, id, kColumnFirstDetail, fields);
      ui.window.SetProgress(ProgressPercent(i, ui.table.RowCount()));
      ui.window.ProcessEvents();
    }
    if (i > ui.table.RowCount()) break;
  }
}

}  // namespace varnola
