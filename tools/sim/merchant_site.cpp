#include "sim/merchant_site.h"

#include <utility>

#include "http/encodings.h"
#include "sim/back_end_pages.h"
#include "sim/png_image.h"

namespace varnola::sim {
namespace {

constexpr const char* kLoginPath = "/site/login";
constexpr const char* kBadTokenText = "您提交的数据无法被验证，请刷新页面后重试。";
constexpr const char* kWrongPasswordText = "账号或密码错误。";

std::string SessionCookieHeader(const std::string& id) {
  return std::string(kSessionCookie) + "=" + id + "; path=/; HttpOnly";
}

// Form values are meant as UTF-8; a client that posts its local code page (GB18030)
// is understood too, as older sites of this kind did.
std::string FormValue(const FormFields& form, const std::string& name) {
  const auto it = form.find(name);
  if (it == form.end()) return {};
  return IsValidUtf8(it->second) ? it->second : LocalToUtf8(it->second);
}

// An order state from the list's query: none for all orders, 0 for a state that does not
// exist (a list without rows).
std::optional<int> ListedState(const SimRequest& request) {
  const std::string state = request.QueryValue("order_state");
  if (state.empty()) return std::nullopt;
  for (int known : {kAwaitingPayment, kAwaitingShipment, kAwaitingReceipt, kDone}) {
    if (state == std::to_string(known)) return known;
  }
  return 0;
}

std::optional<int> OrderId(const std::string& text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  if (text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  return std::stoi(text);
}

}  // namespace

MerchantSite::MerchantSite(const SimData& data, std::string account, std::string password)
    : m_data(data), m_account(std::move(account)), m_password(std::move(password)) {}

SimResponse MerchantSite::Handle(const SimRequest& request, int expireAfter) {
  Visitor visitor;
  visitor.sessionId = CookieValue(request.cookies, kSessionCookie);
  if (!visitor.sessionId.empty())
    visitor.session = m_sessions.Touch(visitor.sessionId, expireAfter);
  if (!visitor.session) visitor.sessionId.clear();

  if (request.path == kLoginPath) {
    if (request.method == "POST") return SignIn(request, visitor);
    return ShowLogin(visitor, {}, {}, 200);
  }
  if (request.path == "/site/logout") {
    if (!visitor.sessionId.empty()) m_sessions.Drop(visitor.sessionId);
    return SimResponse::Redirect(kLoginPath);
  }
  // The dashboard names the logo relative to the site, so a browser asks here for it.
  if (IsLogoPath(m_data, request.path)) return ServeImage(m_data, request);
  if (!visitor.signedIn()) {
    const bool guarded =
        request.path == "/" || request.path == "/site/index" || request.path.starts_with("/order/");
    return guarded ? SimResponse::Redirect(kLoginPath) : SimResponse::Html(NotFoundPage(), 404);
  }
  return SignedInPage(request, visitor);
}

SimResponse MerchantSite::ShowLogin(Visitor& visitor, const std::string& username,
                                    const std::string& error, int status) {
  SimResponse response;
  if (!visitor.session) {
    auto [id, session] = m_sessions.Create();
    visitor.sessionId = std::move(id);
    visitor.session = std::move(session);
    response.headers.emplace_back("Set-Cookie", SessionCookieHeader(visitor.sessionId));
  }
  const std::string csrf = visitor.session ? visitor.session->csrf : std::string();
  response.status = status;
  response.contentType = "text/html; charset=UTF-8";
  response.body = LoginPage(csrf, username, error);
  return response;
}

SimResponse MerchantSite::SignIn(const SimRequest& request, Visitor& visitor) {
  const FormFields form = ParseFormText(request.body);
  const std::string token = FormValue(form, "_csrf-business");
  const std::string username = FormValue(form, "BusinessLoginFrom[username]");
  const std::string password = FormValue(form, "BusinessLoginFrom[password]");
  if (!visitor.session || token.empty() || token != visitor.session->csrf) {
    return ShowLogin(visitor, username, kBadTokenText, 400);
  }
  if (username != m_account || password != m_password) {
    return ShowLogin(visitor, username, kWrongPasswordText, 200);
  }
  const std::string newId = m_sessions.SignIn(visitor.sessionId);
  SimResponse response = SimResponse::Redirect("/");
  response.headers.emplace_back("Set-Cookie", SessionCookieHeader(newId));
  return response;
}

SimResponse MerchantSite::SignedInPage(const SimRequest& request, const Visitor& visitor) {
  const std::string& csrf = visitor.session->csrf;
  if (request.path == "/" || request.path == "/site/index") {
    return SimResponse::Html(DashboardPage(m_data, csrf));
  }
  if (request.path == "/order/list") {
    return SimResponse::Html(OrderListPage(m_data, ListedState(request), csrf));
  }
  if (request.path == "/order/edit") {
    const std::string id = request.QueryValue("id");
    const std::optional<int> number = OrderId(id);
    const SimOrder* order = number ? m_data.FindOrder(*number) : nullptr;
    if (!order) return SimResponse::Html(MissingOrderPage(m_data, id, csrf), 404);
    return SimResponse::Html(OrderDetailPage(m_data, *order, csrf));
  }
  return SimResponse::Html(NotFoundPage(), 404);
}

bool IsLogoPath(const SimData& data, std::string_view path) {
  return path.size() == data.store.logoPath.size() + 1 && path.front() == '/' &&
         path.substr(1) == data.store.logoPath;
}

SimResponse ServeImage(const SimData& data, const SimRequest& request) {
  if (!IsLogoPath(data, request.path)) return SimResponse::Html(NotFoundPage(), 404);
  static const std::string logo = StoreLogoPng();
  return SimResponse{200, "image/png", logo, {{"Cache-Control", "max-age=86400"}}};
}

}  // namespace varnola::sim
