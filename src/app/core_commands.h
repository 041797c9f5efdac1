#pragma once

#include <array>
#include <string>

#include "app/seams/app_commands.h"
#include "backend/config.h"
#include "backend/merchant_session.h"
#include "regex/regex_object.h"

namespace varnola {

// The commands of the window's controls, carried out by the core. Owns what the commands
// keep between runs: the sign-in texts, the last page of each order command, the last
// tracking answer and the one shared pattern object.
class CoreCommands final : public AppCommands {
 public:
  explicit CoreCommands(AppConfig config);

  void SignIn(Frontend& ui) override;
  void ListOrders(Frontend& ui, OrderState state) override;
  void FetchDetails(Frontend& ui) override;
  void ImportWorkbook(Frontend& ui, const std::string& droppedText) override;
  void ExportOrders(Frontend& ui) override;
  void TrackParcel(Frontend& ui) override;

  // Whether the last sign-in found the back-end's welcome.
  bool SignedIn() const { return m_signedIn; }

 private:
  AppConfig m_config;
  MerchantSession m_session;
  bool m_signedIn = false;
  // The order lists and the details share this one pattern object. They never run at the
  // same time (the window queues them; the headless tool runs one step after another),
  // so a command's Execute and its reads cannot interleave with another's.
  RegexObject m_regex;
  std::array<std::string, 4> m_listPages;
  std::string m_detailPage;
  std::string m_lastTrackingText;
};

}  // namespace varnola
