#pragma once

#include <optional>
#include <string>

#include "sim/order_data.h"

namespace varnola::sim {

// The back-end's pages as UTF-8 HTML, filled from the data; every printed value is
// HTML-escaped. `csrf` is the session's token, printed in every page's head.

std::string LoginPage(const std::string& csrf, const std::string& username = {},
                      const std::string& error = {});

std::string DashboardPage(const SimData& data, const std::string& csrf);

// The orders of one state, newest first; no state lists all of them.
std::string OrderListPage(const SimData& data, std::optional<int> state, const std::string& csrf);

std::string OrderDetailPage(const SimData& data, const SimOrder& order, const std::string& csrf);

// The page of an order id that does not exist: it holds none of the order page's parts.
std::string MissingOrderPage(const SimData& data, const std::string& id, const std::string& csrf);

std::string NotFoundPage();

}  // namespace varnola::sim
