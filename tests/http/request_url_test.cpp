#include "http/request_url.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <memory>

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

// The host and the path of a URL as libcurl itself reads it.
struct CurlView {
  std::string host, port, path;
};

CurlView ReadByCurl(const std::string& url) {
  std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> handle(curl_url(), &curl_url_cleanup);
  CurlView view;
  if (curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), CURLU_PATH_AS_IS) != CURLUE_OK) {
    return view;
  }
  for (auto [part, out] :
       {std::pair{CURLUPART_HOST, &view.host}, std::pair{CURLUPART_PORT, &view.port},
        std::pair{CURLUPART_PATH, &view.path}}) {
    char* text = nullptr;
    if (curl_url_get(handle.get(), part, &text, 0) == CURLUE_OK) *out = text;
    curl_free(text);
  }
  return view;
}

// The store logo's path comes from the dashboard page and is appended to the image host
// as it stands. Whatever it holds, the request goes to the image host and nowhere else,
// and cannot carry a line of its own.
TEST(RequestUrlTest, APathFromAPageStaysOnTheHostItIsAppendedTo) {
  const std::pair<std::string, std::string> cases[] = {
      {"logo/1.png", "/logo/1.png"},
      {"x?a=b&c", "/x?a=b&c"},
      {"../../etc/passwd", "/../../etc/passwd"},
      {"//evil.test/x", "///evil.test/x"},
      {"@evil.test/x", "/@evil.test/x"},
      {"http://evil.test/x", "/http://evil.test/x"},
      {"\\\\evil.test\\x", "/%5C%5Cevil.test%5Cx"},
      {"x\r\nHost: evil.test", "/x%0D%0AHost:%20evil.test"},
      {test::L("店铺/标志.png"), "/%E5%BA%97%E9%93%BA/%E6%A0%87%E5%BF%97.png"},
  };
  for (const auto& [logoPath, path] : cases) {
    const std::string url = RequestUrl("http://img.test:8081/" + logoPath);
    EXPECT_EQ(url, "http://img.test:8081" + path) << logoPath;
    const CurlView seen = ReadByCurl(url);
    EXPECT_EQ(seen.host, "img.test") << logoPath;
    EXPECT_EQ(seen.port, "8081") << logoPath;
  }
}

}  // namespace
}  // namespace varnola
