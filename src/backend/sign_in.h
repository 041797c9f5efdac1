#pragma once

#include "app/seams/frontend.h"
#include "backend/config.h"
#include "backend/merchant_session.h"

namespace varnola {

// Signs in with the account and password of the window, shows the dashboard's figures,
// logo and store name, and enables the order buttons on success. True on success.
bool SignIn(Frontend& ui, const AppConfig& config, MerchantSession& session);

}  // namespace varnola
