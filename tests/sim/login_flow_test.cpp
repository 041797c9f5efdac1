#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "http/local_text.h"
#include "sim/merchant_site.h"
#include "sim_browser.h"
#include "support/local_literal.h"

namespace varnola::sim::test {
namespace {

using varnola::test::L;

const std::string kSession(kSessionCookie);

using LoginFlowTest = RunningSim;

TEST_F(LoginFlowTest, SignsInWithTheTokenAndRedirectsToTheDashboard) {
  Browser browser(sim().backendPort());
  const Page login = browser.Get("/site/login");
  ASSERT_EQ(login.status, 200);
  const std::string guestSession = browser.Cookie(kSession);
  ASSERT_FALSE(guestSession.empty()) << "the login page sets the session cookie";
  const std::string token = CsrfToken(login);
  ASSERT_GE(token.size(), 32u);
  EXPECT_EQ(login.local.find(kSuccessMarker), std::string::npos);

  const Page redirect = browser.Post("/site/login", LoginForm(token, "demo", "demo123"));
  EXPECT_EQ(redirect.status, 302);
  EXPECT_EQ(redirect.location, "/");
  const std::string signedInSession = browser.Cookie(kSession);
  EXPECT_FALSE(signedInSession.empty());
  EXPECT_NE(signedInSession, guestSession) << "signing in issues a new session id";

  const Page dashboard = browser.Follow(redirect);
  EXPECT_EQ(dashboard.status, 200);
  EXPECT_NE(dashboard.local.find(kSuccessMarker), std::string::npos);
  EXPECT_EQ(browser.Get("/order/list").status, 200);

  // The id from before the sign-in never carries the signed-in state.
  Browser stale(sim().backendPort());
  stale.SetCookie(kSession, guestSession);
  EXPECT_EQ(stale.Get("/").status, 302);
}

TEST_F(LoginFlowTest, RejectsAFormWhoseTokenIsNotTheSessions) {
  Browser other(sim().backendPort());
  const std::string foreignToken = CsrfToken(other.Get("/site/login"));

  struct Case {
    const char* name;
    bool keepCookie;
    std::string token;
  };
  const Case cases[] = {
      {"wrong token", true, "forged-token"},
      {"empty token", true, ""},
      {"another session's token", true, foreignToken},
      {"no session cookie", false, ""},  // filled below with the page's own token
  };
  for (const Case& c : cases) {
    Browser browser(sim().backendPort());
    const Page login = browser.Get("/site/login");
    std::string token = c.token;
    if (!c.keepCookie) {
      token = CsrfToken(login);
      browser.ForgetCookies();
    }
    const Page answer = browser.Post("/site/login", LoginForm(token, "demo", "demo123"));
    EXPECT_EQ(answer.status, 400) << c.name;
    EXPECT_EQ(answer.local.find(kSuccessMarker), std::string::npos) << c.name;
    EXPECT_NE(answer.local.find(L("您提交的数据无法被验证")), std::string::npos) << c.name;
    EXPECT_FALSE(CsrfToken(answer).empty()) << c.name << ": the page offers a new try";
    EXPECT_EQ(browser.Get("/").status, 302) << c.name;
  }
}

TEST_F(LoginFlowTest, RejectsAWrongAccountOrPassword) {
  struct Case {
    const char* account;
    const char* password;
  };
  const Case cases[] = {{"demo", "wrong"}, {"demo", "DEMO123"}, {"Demo", "demo123"},
                        {"", ""},          {"demo", ""},        {"<b>x</b>", "demo123"}};
  for (const Case& c : cases) {
    Browser browser(sim().backendPort());
    const Page login = browser.Get("/site/login");
    const Page answer =
        browser.Post("/site/login", LoginForm(CsrfToken(login), c.account, c.password));
    const std::string name = std::string(c.account) + " / " + c.password;
    EXPECT_EQ(answer.status, 200) << name;
    EXPECT_EQ(answer.local.find(kSuccessMarker), std::string::npos) << name;
    EXPECT_NE(answer.local.find(L("账号或密码错误")), std::string::npos) << name;
    EXPECT_EQ(answer.body.find("<b>x</b>"), std::string::npos) << "typed text is escaped";
    EXPECT_EQ(browser.Get("/order/list").status, 302) << name;
  }
}

TEST_F(LoginFlowTest, SendsAGuestFromEveryOrderPageToTheLoginPage) {
  const char* paths[] = {"/",
                         "/site/index",
                         "/order/list",
                         "/order/list?order_state=10",
                         "/order/edit?id=10001",
                         "/order/edit?id=1"};
  for (const char* path : paths) {
    Browser guest(sim().backendPort());
    const Page answer = guest.Get(path);
    EXPECT_EQ(answer.status, 302) << path;
    EXPECT_EQ(answer.location, "/site/login") << path;

    Browser forged(sim().backendPort());
    forged.SetCookie(kSession, "not-a-session");
    EXPECT_EQ(forged.Get(path).location, "/site/login") << path;
  }
}

TEST_F(LoginFlowTest, ManyBrowsersSignInAndBrowseAtOnce) {
  constexpr int kBrowsers = 8;
  std::atomic<int> dashboards = 0, lists = 0, details = 0;
  std::vector<std::thread> threads;
  for (int i = 0; i < kBrowsers; ++i) {
    threads.emplace_back([&] {
      Browser browser(sim().backendPort());
      if (ContainsText(SignIn(browser).local, kSuccessMarker)) ++dashboards;
      for (int round = 0; round < 5; ++round) {
        if (ContainsText(browser.Get("/order/list").local, "/order/edit?id=")) ++lists;
        if (browser.Get("/order/edit?id=" + std::to_string(sim().orders()[round].id)).status ==
            200) {
          ++details;
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(dashboards, kBrowsers);
  EXPECT_EQ(lists, kBrowsers * 5);
  EXPECT_EQ(details, kBrowsers * 5);
}

TEST_F(LoginFlowTest, SigningOutEndsTheSession) {
  Browser browser(sim().backendPort());
  SignIn(browser);
  ASSERT_EQ(browser.Get("/order/list").status, 200);
  EXPECT_EQ(browser.Get("/site/logout").location, "/site/login");
  EXPECT_EQ(browser.Get("/order/list").status, 302);
}

// The tool posts its typed texts unescaped in its local code page (GB18030).
class LocalCodePageLoginTest : public RunningSim {
 protected:
  SimOptions Options() const override {
    SimOptions options = RunningSim::Options();
    options.account = "商户一号";
    options.password = "密码123";
    return options;
  }
};

TEST_F(LocalCodePageLoginTest, AcceptsAFormInTheLocalCodePageAsWellAsUtf8) {
  for (const bool local : {true, false}) {
    Browser browser(sim().backendPort());
    const std::string token = CsrfToken(browser.Get("/site/login"));
    const std::string account = local ? L("商户一号") : "商户一号";
    const std::string password = local ? L("密码123") : "密码123";
    const Page redirect = browser.Post("/site/login", LoginForm(token, account, password));
    EXPECT_EQ(redirect.status, 302) << (local ? "GB18030" : "UTF-8");
    EXPECT_NE(browser.Follow(redirect).local.find(kSuccessMarker), std::string::npos);
  }
}

}  // namespace
}  // namespace varnola::sim::test
