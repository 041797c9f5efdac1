#include "http/web_request.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>

#include "http/test_http_server.h"

namespace varnola::test {
namespace {

// Shutting down is final for the process, so this test has a process of its own.
TEST(WebRequestShutdownTest, AbortsRunningExchangesAndRefusesLaterOnes) {
  TestHttpServer server;
  server.Routes().Get("/stall",
                      [&](const httplib::Request&, httplib::Response&) { server.Stall(); });
  server.Routes().Get("/echo", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("ok", "text/plain");
  });
  ASSERT_TRUE(server.Start());
  WebSettings settings;
  settings.idleTimeout = std::chrono::seconds(60);
  SetWebSettings(settings);
  ASSERT_EQ(BodyText(WebRequest(server.Url("/echo"))), "ok");

  auto running = std::async(std::launch::async, [&] { return WebRequest(server.Url("/stall")); });
  ASSERT_TRUE(server.WaitForRequests(2));
  ShutdownWebRequests();
  ASSERT_EQ(running.wait_for(std::chrono::seconds(20)), std::future_status::ready);
  EXPECT_TRUE(running.get().empty());

  std::string extraHeaders = "X-Test: 1";
  EXPECT_TRUE(WebRequest(server.Url("/echo"), 0, {}, nullptr, nullptr, &extraHeaders).empty());
  EXPECT_EQ(extraHeaders, "X-Test: 1");     // nothing was prepared
  EXPECT_EQ(server.Requests().size(), 2u);  // nor sent
}

}  // namespace
}  // namespace varnola::test
