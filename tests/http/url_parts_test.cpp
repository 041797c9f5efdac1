#include "http/url_parts.h"

#include <gtest/gtest.h>

namespace varnola {
namespace {

struct UrlCase {
  const char* url;
  const char* host;
  const char* hostWithPort;
  int port;
  const char* path;
};

TEST(UrlPartsTest, SplitsHostPortAndPath) {
  const UrlCase cases[] = {
      {"http://Shop/order/list?order_state=20", "shop", "shop", 80, "/order/list?order_state=20"},
      {"https://track/autonumber/auto?num=123", "track", "track", 443, "/autonumber/auto?num=123"},
      {"http://shop:8080/a", "shop", "shop:8080", 8080, "/a"},
      {"http://shop", "shop", "shop", 80, "/"},
      {"shop/a", "shop", "shop", 80, "/a"},
      {"HTTPS://shop/", "shop", "shop", 443, "/"},
      {"http://shop?x=1", "shop?x=1", "shop?x=1", 80, "/"},
      {"http://127.0.0.1:18080/Order/Edit?id=A", "127.0.0.1", "127.0.0.1:18080", 18080,
       "/Order/Edit?id=A"},
      {"http://shop:/a", "shop", "shop:", 0, "/a"},
      {"http://shop:99999999999/a", "shop", "shop:99999999999", 1'000'000, "/a"},
  };
  for (const UrlCase& c : cases) {
    EXPECT_EQ(UrlHost(c.url), c.host) << c.url;
    EXPECT_EQ(UrlHost(c.url, true), c.hostWithPort) << c.url;
    EXPECT_EQ(UrlPort(c.url), c.port) << c.url;
    EXPECT_EQ(UrlPath(c.url), c.path) << c.url;
  }
}

TEST(UrlPartsTest, SecureTestLooksAtTheFirstFiveCharacters) {
  EXPECT_TRUE(IsSecureUrl("HTTPS://x"));
  EXPECT_TRUE(IsSecureUrl("https"));
  EXPECT_FALSE(IsSecureUrl("http://x"));
  EXPECT_FALSE(IsSecureUrl(""));
}

}  // namespace
}  // namespace varnola
