#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "http/test_http_server.h"
#include "http/web_request.h"

namespace varnola::test {

// Settings for tests: short time-outs, so a stalled exchange ends in about a second.
inline WebSettings QuickSettings(std::chrono::milliseconds idleTimeout) {
  WebSettings settings;
  settings.connectTimeout = std::chrono::seconds(2);
  settings.idleTimeout = idleTimeout;
  return settings;
}

// A test server with the routes the request tests share, an empty cookie store, and
// short time-outs.
class WebRequestTest : public ::testing::Test {
 protected:
  void SetUp() override;
  // New settings close the idle connections, so the server stops without waiting for them.
  void TearDown() override { SetWebSettings(WebSettings{}); }

  std::string Url(std::string_view path) const { return m_server.Url(path); }

  TestHttpServer m_server;
};

}  // namespace varnola::test
