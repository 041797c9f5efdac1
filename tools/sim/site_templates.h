#pragma once

#include <string_view>

namespace varnola::sim {

// The page templates of the merchant back-end, written like the admin theme of such a
// site. The tool cuts values out of these pages between fixed landmarks, so the blanks,
// line feeds and tag spellings around the filled places are part of the contract.
namespace templates {

extern const std::string_view kLoginPage;     // csrf, username, errorBlock
extern const std::string_view kAdminLayout;   // csrf, title, storeName, logoPath, content
extern const std::string_view kDashboard;     // the four order and four goods counts
extern const std::string_view kOrderList;     // stateName, count, rows
extern const std::string_view kOrderListRow;  // one order's cells and id
extern const std::string_view kNoOrdersRow;
extern const std::string_view kOrderDetail;   // one order's details
extern const std::string_view kMissingOrder;  // id
extern const std::string_view kNotFound;

}  // namespace templates
}  // namespace varnola::sim
