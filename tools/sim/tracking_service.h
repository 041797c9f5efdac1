#pragma once

#include <string>

#include "sim/order_data.h"
#include "sim/sim_exchange.h"

namespace varnola::sim {

// The public parcel-tracking service: carrier detection ("POST /autonumber/auto?num=",
// served over https) and the tracking query ("GET /query?type=&postid=&id=&valicode=&temp=",
// over http). Answers are compact UTF-8 JSON, derived only from what was asked and from
// the orders, so the same question always gets the same answer.
class TrackingService {
 public:
  explicit TrackingService(const SimData& data) : m_data(data) {}

  SimResponse HandleDetect(const SimRequest& request) const;
  SimResponse HandleQuery(const SimRequest& request) const;

  // "[]" for an empty or unlikely number, else one guess naming the carrier's code.
  static std::string CarrierAnswer(const std::string& number);

  // The tracking record of a parcel: its events, newest first, with Chinese place names.
  std::string TrackingRecord(const std::string& carrier, const std::string& number) const;

 private:
  const SimData& m_data;
};

// The text as the contents of a JSON string, without the quotes.
std::string JsonEscape(const std::string& text);

}  // namespace varnola::sim
