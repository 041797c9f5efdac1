#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sim/order_data.h"
#include "sim/session_store.h"
#include "sim/sim_exchange.h"

namespace varnola::sim {

inline constexpr std::string_view kSessionCookie = "varnola-business";

// The merchant back-end: a login form guarded by a per-session CSRF token, a session
// cookie, redirect after a successful post, and the dashboard and order pages, which
// send a visitor without a signed-in session to the login page. Thread-safe.
class MerchantSite {
 public:
  MerchantSite(const SimData& data, std::string account, std::string password);

  // `expireAfter` is the number of requests a session serves (0 = no limit).
  SimResponse Handle(const SimRequest& request, int expireAfter);

  const SessionStore& sessions() const { return m_sessions; }

 private:
  struct Visitor {
    std::string sessionId;  // empty without a live session
    std::optional<Session> session;
    bool signedIn() const { return session && session->signedIn; }
  };

  SimResponse ShowLogin(Visitor& visitor, const std::string& username, const std::string& error,
                        int status);
  SimResponse SignIn(const SimRequest& request, Visitor& visitor);
  SimResponse SignedInPage(const SimRequest& request, const Visitor& visitor);

  const SimData& m_data;
  const std::string m_account;
  const std::string m_password;
  SessionStore m_sessions;
};

// The mall's image host: the store logo, a real PNG, under its path.
SimResponse ServeImage(const SimData& data, const SimRequest& request);

// Whether a path names the store logo ("/" followed by the logo path).
bool IsLogoPath(const SimData& data, std::string_view path);

}  // namespace varnola::sim
