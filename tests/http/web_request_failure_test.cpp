#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "http/test_certificate.h"
#include "http/web_request.h"
#include "http/web_request_fixture.h"

namespace varnola::test {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// Long enough that only a failure of the code under test can exceed it.
constexpr auto kGenerousWait = seconds(20);

// A loopback port that nothing listens on.
int ClosedPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof(address);
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(fd);
  return ntohs(address.sin_port);
}

TEST_F(WebRequestTest, FailedExchangeGivesEmptyResultsAndStillMergesCookies) {
  SetWebSettings(QuickSettings(milliseconds(1000)));
  const std::string cases[] = {
      "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/", "http://bad host/",
      Url("/stall"),       // answers nothing
      Url("/stall-body"),  // stops in the middle of the body
  };
  for (const std::string& url : cases) {
    SCOPED_TRACE(url);
    CookieText cookies = "a = 1";
    CookieText returned = "stale";
    std::string rawHeaders = "stale";
    const ByteBuffer body = WebRequest(url, 0, {}, &cookies, &returned, nullptr, &rawHeaders);
    EXPECT_TRUE(body.empty());
    EXPECT_EQ(returned, "");
    EXPECT_EQ(rawHeaders, "");
    EXPECT_EQ(cookies, "a=1");  // merged with the empty returned cookies
  }
}

TEST_F(WebRequestTest, CancellationAbortsEveryRunningExchange) {
  SetWebSettings(QuickSettings(seconds(60)));
  std::vector<std::future<ByteBuffer>> running;
  for (int i = 0; i < 3; ++i) {
    running.push_back(std::async(std::launch::async, [&] { return WebRequest(Url("/stall")); }));
  }
  ASSERT_TRUE(m_server.WaitForRequests(3));

  CancelRunningWebRequests();
  for (std::future<ByteBuffer>& exchange : running) {
    ASSERT_EQ(exchange.wait_for(kGenerousWait), std::future_status::ready);
    EXPECT_TRUE(exchange.get().empty());
  }
  EXPECT_EQ(BodyText(WebRequest(Url("/echo"))), "ok");  // later calls work normally
}

TEST_F(WebRequestTest, BodyOverTheLimitIsAbandoned) {
  WebSettings settings = QuickSettings(seconds(5));
  settings.maxBodyBytes = 65536;
  SetWebSettings(settings);
  const std::pair<const char*, std::size_t> cases[] = {
      {"/big?n=65536", 65536},
      {"/big?n=65537", 0},
      {"/big?n=65536&chunked=1", 65536},
      {"/big?n=65537&chunked=1", 0},
  };
  for (const auto& [path, size] : cases) {
    EXPECT_EQ(WebRequest(Url(path)).size(), size) << path;
  }
}

TEST_F(WebRequestTest, HttpsIsVerifiedAgainstTheTrustedCertificates) {
  const TestCertificate certificate;
  ASSERT_TRUE(certificate.Valid());
  TestHttpServer secure(certificate);
  secure.Routes().Get("/secure", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("secure", "text/plain");
  });
  ASSERT_TRUE(secure.Start());
  TestHttpServer plain;
  plain.Routes().Get("/to-secure", [&](const httplib::Request&, httplib::Response& response) {
    response.set_redirect(secure.Url("/secure"));
  });
  ASSERT_TRUE(plain.Start());

  EXPECT_TRUE(WebRequest(secure.Url("/secure")).empty());  // the test CA is not trusted yet

  WebSettings settings = CurrentWebSettings();
  settings.extraCaFile = certificate.CertFile();
  SetWebSettings(settings);
  EXPECT_EQ(BodyText(WebRequest(secure.Url("/secure"))), "secure");
  EXPECT_EQ(BodyText(WebRequest(secure.UrlFor("localhost", "/secure"))), "secure");
  EXPECT_EQ(BodyText(WebRequest(plain.Url("/to-secure"))), "secure");
  SetWebSettings(WebSettings{});  // closes the connections before the servers stop
}

TEST_F(WebRequestTest, ProxyCarriesPlainRequestsAndTunnelsSecureOnes) {
  TestHttpServer proxy;
  proxy.Routes().Get(".*", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("via proxy", "text/plain");
  });
  ASSERT_TRUE(proxy.Start());
  const std::string address = "127.0.0.1:" + std::to_string(proxy.Port());

  const ByteBuffer body = WebRequest("http://shop.invalid/order/list", 0, {}, nullptr, nullptr,
                                     nullptr, nullptr, false, nullptr, address);
  EXPECT_EQ(BodyText(body), "via proxy");
  EXPECT_EQ(proxy.LastRequest().target, "http://shop.invalid/order/list");

  // This proxy opens no tunnels, so the secure exchange fails after asking for one.
  EXPECT_TRUE(WebRequest("https://track.invalid/q", 0, {}, nullptr, nullptr, nullptr, nullptr,
                         false, nullptr, address)
                  .empty());
  EXPECT_EQ(proxy.LastRequest().method, "CONNECT");
  EXPECT_EQ(proxy.LastRequest().target, "track.invalid:443");
  SetWebSettings(WebSettings{});
}

}  // namespace
}  // namespace varnola::test
