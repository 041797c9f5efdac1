#include "backend/parcel_tracking.h"

#include "app/seams/order_columns.h"
#include "backend/query_encoding.h"
#include "http/encodings.h"
#include "http/web_request.h"

namespace varnola {
namespace {

std::string SelectedTrackingNumber(OrderTable& table) {
  return table.CellText(table.SelectedRow(), kColumnTrackingNumber);
}

}  // namespace

void TrackParcel(Frontend& ui, const AppConfig& config, std::string& lastTrackingText) {
  // Both values are encoded as query values: the number is the merchant's data and the
  // detection answer the service's text, and either may hold "&", blanks or quotes.
  const std::string detectUrl = "https://" + config.trackingDetectHost +
                                "/autonumber/auto?num=" +
                                EncodeQueryValue(SelectedTrackingNumber(ui.table));
  lastTrackingText = BodyText(WebRequest(detectUrl, 1));

  const std::string number = SelectedTrackingNumber(ui.table);
  const std::string temp = ScriptRandom() + RandomDigits(1);
  const std::string queryUrl = "http://" + config.trackingQueryHost +
                               "/query?type=huitongkuaidi&postid=" + EncodeQueryValue(number) +
                               "&id=" + EncodeQueryBytes(lastTrackingText) +
                               "&valicode=&temp=" + temp;
  lastTrackingText = BodyText(WebRequest(queryUrl));

  // The service answers in UTF-8; anything else is shown as it came.
  ui.messageBox.Show(IsValidUtf8(lastTrackingText) ? Utf8ToLocal(lastTrackingText)
                                                   : lastTrackingText);
}

}  // namespace varnola
