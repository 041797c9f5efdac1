#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>
#include <chrono>
#include <future>
#include <string>

#include <gtest/gtest.h>

#include "sim_browser.h"

namespace varnola::sim::test {
namespace {

// Sends one request over a plain socket and reads until the server closes it, so a cut
// answer shows exactly what arrived.
std::string RawExchange(int port, const std::string& request) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return {};
  timeval timeout{10, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string received;
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      send(fd, request.data(), request.size(), 0) == static_cast<ssize_t>(request.size())) {
    char buffer[4096];
    ssize_t n;
    while ((n = recv(fd, buffer, sizeof buffer, 0)) > 0)
      received.append(buffer, static_cast<std::size_t>(n));
  }
  close(fd);
  return received;
}

using FaultsTest = RunningSim;

TEST_F(FaultsTest, FailRateAnswersWith500UntilSwitchedOff) {
  SimFaults faults;
  faults.failRate = 1;
  sim().SetFaults(faults);
  Browser browser(sim().backendPort());
  const Page failed = browser.Get("/site/login");
  EXPECT_EQ(failed.status, 500);
  EXPECT_TRUE(CsrfToken(failed).empty());
  httplib::Client images("127.0.0.1", sim().imagePort());
  const auto logo = images.Get("/" + sim().data().store.logoPath);
  ASSERT_TRUE(logo);
  EXPECT_EQ(logo->status, 500) << "faults apply to every host";

  sim().SetFaults({});
  EXPECT_EQ(browser.Get("/site/login").status, 200);
}

TEST_F(FaultsTest, DropRateCutsTheAnswerInTheMiddleOfTheBody) {
  SimFaults faults;
  faults.dropRate = 1;
  sim().SetFaults(faults);
  const std::string answer =
      RawExchange(sim().backendPort(), "GET /site/login HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
  const auto headerEnd = answer.find("\r\n\r\n");
  ASSERT_NE(headerEnd, std::string::npos) << answer;
  const std::string headers = answer.substr(0, headerEnd);
  const std::string announced = TextBetween(headers + "\r\n", "Content-Length: ", "\r\n");
  ASSERT_FALSE(announced.empty()) << headers;
  const std::size_t length = std::stoul(announced);
  const std::size_t arrived = answer.size() - headerEnd - 4;
  EXPECT_GT(length, 1000u) << announced;
  EXPECT_GT(arrived, 0u);
  EXPECT_LT(arrived, length);

  sim().SetFaults({});
  Browser browser(sim().backendPort());
  EXPECT_FALSE(CsrfToken(browser.Get("/site/login")).empty());
}

TEST_F(FaultsTest, SessionExpiresAfterTheGivenNumberOfRequests) {
  Browser browser(sim().backendPort());
  ASSERT_EQ(SignIn(browser).status, 200);  // the dashboard is the new session's first request
  SimFaults faults;
  faults.expireAfter = 3;
  sim().SetFaults(faults);
  EXPECT_EQ(browser.Get("/order/list").status, 200);
  EXPECT_EQ(browser.Get("/order/list?order_state=10").status, 200);
  const Page expired = browser.Get("/order/list");
  EXPECT_EQ(expired.status, 302);
  EXPECT_EQ(expired.location, "/site/login");
  EXPECT_EQ(browser.Get("/").status, 302) << "an expired session stays gone";

  // A new sign-in starts a new count.
  ASSERT_EQ(SignIn(browser).status, 200);
  EXPECT_EQ(browser.Get("/order/list").status, 200);
}

TEST_F(FaultsTest, StallHoldsRequestsUntilSwitchedOffAndThenAnswersThem) {
  SimFaults faults;
  faults.stall = true;
  sim().SetFaults(faults);
  auto held = std::async(std::launch::async, [&] {
    return RawExchange(sim().backendPort(),
                       "GET /site/login HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
  });
  EXPECT_EQ(held.wait_for(std::chrono::milliseconds(500)), std::future_status::timeout)
      << "a stalled request gets no answer";

  sim().SetFaults({});
  ASSERT_EQ(held.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_TRUE(held.get().starts_with("HTTP/1.1 200")) << "released, it is answered as usual";
}

TEST(SimStopTest, StopReleasesStalledRequestsAtOnce) {
  SimOptions options;
  options.orderCount = 1;
  options.faults.stall = true;
  SimServer server(options);
  ASSERT_TRUE(server.Start()) << server.error();
  auto held = std::async(std::launch::async, [&] {
    return RawExchange(server.backendPort(),
                       "GET / HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
  });
  ASSERT_EQ(held.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout);

  const auto start = std::chrono::steady_clock::now();
  server.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(held.wait_for(std::chrono::seconds(10)), std::future_status::ready);
}

TEST_F(FaultsTest, RedirectLoopLeadsEveryAddressBackToItself) {
  SimFaults faults;
  faults.redirectLoop = true;
  sim().SetFaults(faults);
  Browser browser(sim().backendPort());
  const Page first = browser.Get("/order/list?order_state=20");
  EXPECT_EQ(first.status, 302);
  EXPECT_EQ(first.location, "/order/list?order_state=20");
  EXPECT_EQ(browser.Follow(first).location, first.location);
  httplib::Client query("127.0.0.1", sim().queryPort());
  const auto answer = query.Get("/query?postid=1");
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->status, 302);
}

TEST_F(FaultsTest, APathPrefixConfinesTheFaultsToThosePaths) {
  Browser browser(sim().backendPort());
  ASSERT_EQ(SignIn(browser).status, 200);
  SimFaults faults;
  faults.failRate = 1;
  faults.pathPrefix = "/order/edit";
  sim().SetFaults(faults);
  EXPECT_EQ(browser.Get("/order/list").status, 200);
  EXPECT_EQ(browser.Get("/").status, 200);
  EXPECT_EQ(browser.Get("/order/edit?id=" + std::to_string(sim().orders()[0].id)).status, 500);
}

}  // namespace
}  // namespace varnola::sim::test
