#include "http/header_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnola {
namespace {

constexpr const char* kUrl = "http://shop/order/list";
constexpr const char* kDefaults =
    "Referer: http://shop/order/list\r\nAccept-Language: zh-cn\r\n"
    "Content-Type: application/x-www-form-urlencoded";

struct BlockCase {
  const char* extra;
  const char* cookieText;
  std::string block;
};

TEST(HeaderBlockTest, CompletesTheCallersLinesWithTheDefaults) {
  const std::string defaults = kDefaults;
  const BlockCase cases[] = {
      {"", "", "Accept: */*\r\n" + defaults},
      // The tests are plain substring searches with exact letter case.
      {"Accept-Encoding: gzip", "", "Accept-Encoding: gzip\r\nAccept: */*\r\n" + defaults},
      {"accept: text/html", "", "accept: text/html\r\nAccept: */*\r\n" + defaults},
      {"Accept: text/html", "", "Accept: text/html\r\n" + defaults},
      {"Referer: http://other/\r\nContent-Type: text/plain", "",
       "Referer: http://other/\r\nContent-Type: text/plain\r\nAccept: */*\r\n"
       "Accept-Language: zh-cn"},
      // A cookie text adds its own line, even next to a Cookie line of the caller's.
      {"", "sid=1", "Accept: */*\r\n" + defaults + "\r\nCookie: sid=1"},
      {"Cookie: a=1", "b=2", "Cookie: a=1\r\nAccept: */*\r\n" + defaults + "\r\nCookie: b=2"},
  };
  for (const BlockCase& c : cases) {
    EXPECT_EQ(BuildHeaderBlock(c.extra, kUrl, c.cookieText), c.block) << c.extra;
  }
}

TEST(HeaderBlockTest, AgentComesFromAUserAgentLineOrIsTheDefault) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"},
      {"Accept: */*", "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"},
      {"User-Agent:  Tester/1.0 \r\nAccept: */*", "Tester/1.0"},
      {"Accept: */*\r\nUser-Agent: Tester/1.0", "Tester/1.0"},
      {"user-agent: Tester/1.0\r\nAccept: */*", "Tester/1.0"},
      {"User-Agent:   \r\nAccept: */*", "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"},
      // A lone line break inside the value would add a header line of its own.
      {"User-Agent: Tester/1.0\nX-Injected: 1\r\nAccept: */*", "Tester/1.0 X-Injected: 1"},
      {"Accept: a\r\nuser-agent:  Tester/1.0\r", "Tester/1.0"},
  };
  for (const auto& [extra, agent] : cases) EXPECT_EQ(AgentString(extra), agent) << extra;
}

TEST(HeaderBlockTest, LinesOnTheWireCannotBeSplitFurther) {
  const std::vector<std::string> expected = {"A: 1", "B: 2 X-Injected: 3", "C:  4"};
  EXPECT_EQ(HeaderLines("A: 1\r\n\r\nB: 2\nX-Injected: 3\r\nC: \r4"), expected);
  EXPECT_TRUE(HeaderLines("").empty());
}

struct CookieCase {
  const char* raw;
  const char* normalised;
  const char* cookies;
};

TEST(ResponseHeadersTest, SetCookieLinesGiveTheReturnedCookies) {
  const CookieCase cases[] = {
      {"HTTP/1.1 200 OK\r\nSet-Cookie: sid=1; path=/\r\nset-cookie: lang=zh",
       "HTTP/1.1 200 OK\r\nSet-Cookie: sid=1; path=/\r\nSet-Cookie: lang=zh", "sid=1; lang=zh"},
      {"HTTP/1.1 200 OK\r\nContent-Length: 0", "HTTP/1.1 200 OK\r\nContent-Length: 0", ""},
      {"HTTP/1.1 200 OK\r\nSET-COOKIE: a=1; HttpOnly\r\nSet-Cookie: a=2",
       "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; HttpOnly\r\nSet-Cookie: a=2", "a=1; a=2"},
      {"HTTP/1.1 200 OK\r\nSet-Cookie:  b=2 ; Path=/\r\nX: 1",
       "HTTP/1.1 200 OK\r\nSet-Cookie:  b=2 ; Path=/\r\nX: 1", "b=2"},
      {"", "", ""},
  };
  for (const CookieCase& c : cases) {
    const std::string normalised = NormaliseSetCookie(c.raw);
    EXPECT_EQ(normalised, c.normalised);
    EXPECT_EQ(CookiesFromHeaders(normalised), c.cookies) << c.raw;
  }
}

}  // namespace
}  // namespace varnola
