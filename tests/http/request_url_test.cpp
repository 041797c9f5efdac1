#include "http/request_url.h"

#include <gtest/gtest.h>

#include "support/local_literal.h"

namespace varnola {
namespace {

TEST(RequestUrlTest, TakesSchemeHostAndPortAsTheConnectionDoes) {
  const std::pair<const char*, const char*> cases[] = {
      {"http://Shop/order/list?order_state=20", "http://shop/order/list?order_state=20"},
      {"https://track/autonumber/auto?num=123", "https://track/autonumber/auto?num=123"},
      {"HTTPS://shop/", "https://shop/"},
      {"http://shop:8080/a", "http://shop:8080/a"},
      {"http://shop:443/a", "http://shop:443/a"},
      {"https://shop:443/a", "https://shop/a"},
      {"http://shop", "http://shop/"},
      {"shop/a", "http://shop/a"},
      {"http://shop:/a", "http://shop/a"},  // an empty port is the default one
      // Hosts and ports that no connection can reach.
      {"http://shop:99999/a", ""},
      {"http://shop?x=1", ""},
      {"http://sh op/", ""},
      {"http:///a", ""},
  };
  for (const auto& [url, expected] : cases) EXPECT_EQ(RequestUrl(url), expected) << url;
}

TEST(RequestUrlTest, EscapesOnlyWhatCannotTravelInARequestLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"/a b\t\x7F", "/a%20b%09%7F"},
      {"/q?x=\"<>\\^`{|}", "/q?x=%22%3C%3E%5C%5E%60%7B%7C%7D"},
      {"/a/../b?c=%41&d=100%&e=/f", "/a/../b?c=%41&d=100%&e=/f"},
      // Non-ASCII goes as its UTF-8 bytes, even where a trailing byte looks like "\".
      {test::L("/中文?k=乗"), "/%E4%B8%AD%E6%96%87?k=%E4%B9%97"},
  };
  for (const auto& [path, expected] : cases) EXPECT_EQ(EscapeRequestTarget(path), expected);
}

}  // namespace
}  // namespace varnola
