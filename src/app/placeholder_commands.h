#pragma once

#include <string>

#include "app/seams/app_commands.h"

namespace varnola {

// Commands that do nothing yet: the window can be opened and used before the core
// commands are wired to it.
class PlaceholderCommands final : public AppCommands {
 public:
  void SignIn(Frontend&) override {}
  void ListOrders(Frontend&, OrderState) override {}
  void FetchDetails(Frontend&) override {}
  void ImportWorkbook(Frontend&, const std::string&) override {}
  void ExportOrders(Frontend&) override {}
  void TrackParcel(Frontend&) override {}
};

}  // namespace varnola
