#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include <gtest/gtest.h>
#include <httplib.h>

#include "http/encodings.h"
#include "http/text_between.h"
#include "sim/sim_server.h"
#include "support/local_literal.h"

namespace varnola::sim::test {

// One answer as a client saw it, with the page already decoded the way the tool does.
struct Page {
  int status = 0;  // 0 when the exchange failed
  std::string location;
  std::string setCookie;
  std::string body;   // as received (UTF-8)
  std::string local;  // UrlDecode(body, true): percent-decoded and in local text
};

// A minimal browser over cpp-httplib: keeps the cookies the site sets and sends them
// back; redirects are not followed, so tests see them.
class Browser {
 public:
  explicit Browser(int port) : m_client("127.0.0.1", port) {
    m_client.set_connection_timeout(5);
    m_client.set_read_timeout(30);
  }

  Page Get(const std::string& path) { return Take(m_client.Get(path, Headers())); }

  Page Post(const std::string& path, const std::string& form) {
    return Take(m_client.Post(path, Headers(), form, "application/x-www-form-urlencoded"));
  }

  // Follows one redirect answer to its page.
  Page Follow(const Page& redirect) { return Get(redirect.location); }

  void SetCookie(const std::string& name, const std::string& value) { m_cookies[name] = value; }
  void ForgetCookies() { m_cookies.clear(); }
  std::string Cookie(const std::string& name) const {
    const auto it = m_cookies.find(name);
    return it == m_cookies.end() ? std::string() : it->second;
  }

 private:
  httplib::Headers Headers() const {
    std::string cookies;
    for (const auto& [name, value] : m_cookies) {
      if (!cookies.empty()) cookies += "; ";
      cookies += name + "=" + value;
    }
    return cookies.empty() ? httplib::Headers{} : httplib::Headers{{"Cookie", cookies}};
  }

  Page Take(const httplib::Result& result) {
    Page page;
    if (!result) return page;
    page.status = result->status;
    page.location = result->get_header_value("Location");
    page.setCookie = result->get_header_value("Set-Cookie");
    page.body = result->body;
    page.local = UrlDecode(page.body, true);
    // "name=value; path=/; HttpOnly": keep name=value.
    const std::string entry = page.setCookie.substr(0, page.setCookie.find(';'));
    if (const auto equals = entry.find('='); equals != std::string::npos) {
      m_cookies[entry.substr(0, equals)] = entry.substr(equals + 1);
    }
    return page;
  }

  httplib::Client m_client;
  std::map<std::string, std::string> m_cookies;
};

// The CSRF token of a sign-in page, cut out the way the tool does.
inline std::string CsrfToken(const Page& loginPage) {
  return TextBetween(loginPage.local, "csrf-token\" content=\"",
                     varnola::test::L("\">\n    <title>商户"));
}

// The form text exactly as the tool builds it: values unescaped, "login-button" twice.
inline std::string LoginForm(const std::string& token, const std::string& account,
                             const std::string& password) {
  return "_csrf-business=" + token + "&BusinessLoginFrom[username]=" + account +
         "&BusinessLoginFrom[password]=" + password + "&login-button=&login-button=";
}

inline const std::string kSuccessMarker = varnola::test::L("欢迎来到Varnola商城!");

// A simulator on free ports for the length of one test.
class RunningSim : public ::testing::Test {
 protected:
  virtual SimOptions Options() const {
    SimOptions options;
    options.orderCount = 60;
    options.seed = 7;
    return options;
  }

  void SetUp() override {
    m_sim = std::make_unique<SimServer>(Options());
    ASSERT_TRUE(m_sim->Start()) << m_sim->error();
  }

  void TearDown() override { m_sim.reset(); }

  SimServer& sim() { return *m_sim; }

  // Signs the browser in with the default account and returns the dashboard.
  Page SignIn(Browser& browser) {
    const Page login = browser.Get("/site/login");
    const Page redirect =
        browser.Post("/site/login", LoginForm(CsrfToken(login), "demo", "demo123"));
    EXPECT_EQ(redirect.status, 302);
    return browser.Follow(redirect);
  }

 private:
  std::unique_ptr<SimServer> m_sim;
};

}  // namespace varnola::sim::test
