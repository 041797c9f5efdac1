#pragma once

#include <string>

#include "app/seams/app_commands.h"
#include "app/seams/frontend.h"
#include "backend/config.h"
#include "regex/regex_object.h"

namespace varnola {

// Replaces the table's rows with the orders of one state (or all orders) as the back-end
// lists them on its one order-list page, and enables the details button. `pageText`
// keeps the page of this command's last run.
void OrderListFetch(Frontend& ui, const AppConfig& config, RegexObject& regex, OrderState state,
                    std::string& pageText);

}  // namespace varnola
