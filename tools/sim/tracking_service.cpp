#include "sim/tracking_service.h"

#include <cctype>
#include <cstdint>
#include <vector>

#include "sim/sim_random.h"
#include "sim/sim_time.h"

namespace varnola::sim {
namespace {

constexpr const char* kOriginCity = "杭州市";
constexpr const char* kHub = "上海转运中心";
constexpr const char* kHubCity = "上海市";
constexpr const char* kCities[] = {"广州市", "深圳市", "南京市", "北京市",
                                   "成都市", "武汉市", "西安市", "杭州市"};

struct TrackingEvent {
  std::int64_t time;
  std::string place;
  std::string text;
};

std::string CarrierCode(const std::string& number) {
  if (number.starts_with("SF")) return "shunfeng";
  if (number.starts_with("YT")) return "yuantong";
  if (number.starts_with("7")) return "huitongkuaidi";
  if (std::isdigit(static_cast<unsigned char>(number.front()))) return "zhongtong";
  return "yunda";
}

// The events of a parcel from the store to `city`; `delivered` adds the last two.
std::vector<TrackingEvent> ParcelEvents(std::int64_t start, const std::string& city,
                                        bool delivered) {
  const std::string station = city + "分拨中心";
  std::vector<TrackingEvent> events = {
      {start, kOriginCity, "【杭州余杭揽投部】已揽收"},
      {start + 5 * 3600, kOriginCity,
       "快件已从【杭州余杭揽投部】发出，下一站【" + std::string(kHub) + "】"},
      {start + 14 * 3600, kHubCity, "快件已到达【" + std::string(kHub) + "】"},
      {start + 17 * 3600, kHubCity,
       "快件已从【" + std::string(kHub) + "】发出，下一站【" + station + "】"},
  };
  if (delivered) {
    events.push_back({start + 40 * 3600, city,
                      "快件已到达【" + station + "】，正在派件，派件员：刘师傅 13905710000"});
    events.push_back(
        {start + 46 * 3600, city, "快件已签收，签收人：本人，感谢使用，期待再次为您服务"});
  }
  return events;
}

}  // namespace

std::string JsonEscape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          const char* hex = "0123456789abcdef";
          out += "\\u00";
          out += hex[(c >> 4) & 0xF];
          out += hex[c & 0xF];
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::string TrackingService::CarrierAnswer(const std::string& number) {
  if (number.empty()) return "[]";
  for (char c : number) {
    if (!std::isalnum(static_cast<unsigned char>(c))) return "[]";
  }
  const std::uint64_t hash = HashText(number);
  return "[{\"comCode\":\"" + CarrierCode(number) +
         "\",\"id\":\"\",\"noCount\":" + std::to_string(1000 + hash % 9000) + ",\"noPre\":\"" +
         number.substr(0, 4) + "\",\"startTime\":\"\"}]";
}

std::string TrackingService::TrackingRecord(const std::string& carrier,
                                            const std::string& number) const {
  if (number.empty()) {
    return "{\"message\":\"参数错误：快递单号不能为空\",\"nu\":\"\",\"ischeck\":\"0\","
           "\"condition\":\"\",\"com\":\"" +
           JsonEscape(carrier) + "\",\"status\":\"400\",\"state\":\"0\",\"data\":[]}";
  }
  // A parcel of a known order goes to its address and is signed for once the order is
  // done; any other number gets a journey of its own, fixed by the number.
  const std::uint64_t hash = HashText(number);
  const SimOrder* order = m_data.FindByTrackingNo(number);
  const std::string city = order ? order->city : kCities[hash % std::size(kCities)];
  const bool delivered = order ? order->state == kDone : hash % 2 == 0;
  const std::int64_t start = kFirstOrderTime + static_cast<std::int64_t>(hash % (180 * 86400));
  const std::vector<TrackingEvent> events = ParcelEvents(start, city, delivered);

  std::string data;
  for (auto it = events.rbegin(); it != events.rend(); ++it) {
    const std::string time = FormatDateTime(it->time);
    if (!data.empty()) data += ",";
    data += "{\"time\":\"" + time + "\",\"ftime\":\"" + time + "\",\"context\":\"[" + it->place +
            "] " + JsonEscape(it->text) + "\",\"location\":\"" + it->place + "\"}";
  }
  return "{\"message\":\"ok\",\"nu\":\"" + JsonEscape(number) + "\",\"ischeck\":\"" +
         (delivered ? "1" : "0") + "\",\"condition\":\"F00\",\"com\":\"" + JsonEscape(carrier) +
         "\",\"status\":\"200\",\"state\":\"" + (delivered ? "3" : "0") + "\",\"data\":[" + data +
         "]}";
}

SimResponse TrackingService::HandleDetect(const SimRequest& request) const {
  if (request.path != "/autonumber/auto")
    return SimResponse::Json("{\"message\":\"not found\"}", 404);
  if (request.method != "POST") {
    return SimResponse::Json("{\"message\":\"method not allowed\"}", 405);
  }
  return SimResponse::Json(CarrierAnswer(request.QueryValue("num")));
}

SimResponse TrackingService::HandleQuery(const SimRequest& request) const {
  if (request.path != "/query") return SimResponse::Json("{\"message\":\"not found\"}", 404);
  return SimResponse::Json(
      TrackingRecord(request.QueryValue("type"), request.QueryValue("postid")));
}

}  // namespace varnola::sim
