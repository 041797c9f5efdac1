#include "http/web_request.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "http/local_text.h"
#include "http/raw_http_server.h"
#include "http/web_request_fixture.h"
#include "support/local_literal.h"

namespace varnola::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kDefaultAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// The entries of a Cookie line, in sorted order: the store may send them in any order.
std::vector<std::string> CookieEntries(const std::string& line) {
  std::vector<std::string> entries = SplitText(line, "; ");
  std::sort(entries.begin(), entries.end());
  return entries;
}

TEST_F(WebRequestTest, SendsTheDefaultHeaderBlockAndHandsItBack) {
  RawHttpServer raw;
  const std::string url = raw.Url("/page?id=7");
  std::string extraHeaders;
  std::string rawHeaders;
  const ByteBuffer body = WebRequest(url, 0, {}, nullptr, nullptr, &extraHeaders, &rawHeaders);

  const std::string block = "Accept: */*\r\nReferer: " + url +
                            "\r\nAccept-Language: zh-cn\r\n"
                            "Content-Type: application/x-www-form-urlencoded";
  EXPECT_EQ(BodyText(body), "hello");
  EXPECT_EQ(extraHeaders, block);
  EXPECT_EQ(rawHeaders, "HTTP/1.1 200 OK\r\nContent-Length: 5");
  ASSERT_EQ(raw.Requests().size(), 1u);
  EXPECT_EQ(raw.Requests()[0],
            "GET /page?id=7 HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(raw.Port()) +
                "\r\nUser-Agent: " + kDefaultAgent + "\r\n" + block + "\r\n\r\n");
}

TEST_F(WebRequestTest, CallersLinesGoOutAsTheyStand) {
  RawHttpServer raw;
  std::string extraHeaders = "X-Empty:\r\nUser-Agent: Tester/1.0";
  WebRequest(raw.Url("/page"), 0, {}, nullptr, nullptr, &extraHeaders);

  ASSERT_EQ(raw.Requests().size(), 1u);
  const std::string request = raw.Requests()[0];
  EXPECT_THAT(request, HasSubstr("\r\nX-Empty:\r\n"));
  // The caller's agent line replaces the default agent rather than adding a second one.
  EXPECT_THAT(request, HasSubstr("\r\nUser-Agent: Tester/1.0\r\n"));
  EXPECT_EQ(request.find("User-Agent:"), request.rfind("User-Agent:"));
  EXPECT_THAT(extraHeaders,
              ::testing::StartsWith("X-Empty:\r\nUser-Agent: Tester/1.0\r\nAccept: */*\r\n"));
}

TEST_F(WebRequestTest, UrlTextCannotAddHeaderLines) {
  const ByteBuffer body = WebRequest(Url("/echo?x=1\nX-Injected: 1"));

  EXPECT_EQ(BodyText(body), "ok");
  const RecordedRequest request = m_server.LastRequest();
  EXPECT_EQ(request.target, "/echo?x=1%0AX-Injected:%201");
  EXPECT_EQ(request.HeaderCount("X-Injected"), 0u);
}

TEST_F(WebRequestTest, EscapesTheRequestLineAsABrowserDoes) {
  WebRequest(Url(L("/echo?q=中文 x&r=%41|")));
  EXPECT_EQ(m_server.LastRequest().target, "/echo?q=%E4%B8%AD%E6%96%87%20x&r=%41%7C");
}

struct MethodCase {
  int method;
  const char* postText;
  const char* postBytes;
  const char* verb;
  const char* sentBody;  // nullptr: no body and no Content-Length
  const char* responseBody;
};

TEST_F(WebRequestTest, MethodsSendTheirBodies) {
  const MethodCase cases[] = {
      {0, "a=1", "", "GET", nullptr, "hello"},
      {3, "a=1", "", "GET", nullptr, "hello"},
      {-1, "", "xyz", "GET", nullptr, "hello"},
      {1, "a=1", "", "POST", "a=1", "hello"},
      {1, "a=1", "xyz", "POST", "xyz", "hello"},
      {1, "", "", "POST", "", "hello"},
      // A HEAD sends its body too, and does not wait for the body the answer announces.
      {2, "a=1", "", "HEAD", "a=1", ""},
      {2, "", "", "HEAD", nullptr, ""},
  };
  for (const MethodCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.method) + " " + c.postText + " " + c.postBytes);
    RawHttpServer raw;
    ByteBuffer postBytes = ToBytes(c.postBytes);
    std::string rawHeaders;
    const ByteBuffer body = WebRequest(raw.Url("/m"), c.method, c.postText, nullptr, nullptr,
                                       nullptr, &rawHeaders, false, &postBytes);

    EXPECT_EQ(BodyText(body), c.responseBody);
    EXPECT_EQ(rawHeaders, "HTTP/1.1 200 OK\r\nContent-Length: 5");
    ASSERT_EQ(raw.Requests().size(), 1u);
    const std::string request = raw.Requests()[0];
    EXPECT_THAT(request, ::testing::StartsWith(std::string(c.verb) + " /m HTTP/1.1\r\n"));
    const std::string sentBody = request.substr(request.find("\r\n\r\n") + 4);
    if (c.sentBody == nullptr) {
      EXPECT_THAT(request, Not(HasSubstr("Content-Length")));
      EXPECT_EQ(sentBody, "");
      EXPECT_EQ(BodyText(postBytes), c.postBytes);  // a GET leaves the post bytes alone
    } else {
      EXPECT_THAT(request, HasSubstr("\r\nContent-Length: " +
                                     std::to_string(std::string(c.sentBody).size()) + "\r\n"));
      EXPECT_EQ(sentBody, c.sentBody);
      EXPECT_EQ(BodyText(postBytes), c.sentBody);  // filled from the post text
    }
  }
}

struct ResponseCase {
  const char* path;
  int method;
  bool noRedirect;
  const char* body;
  const char* statusLine;
  const char* lastTarget;
  const char* lastMethod;
};

TEST_F(WebRequestTest, ReturnsTheFinalResponseOfRedirectsAndErrorsAlike) {
  const ResponseCase cases[] = {
      {"/redirect", 0, false, "final", "HTTP/1.1 200 OK\r\n", "/final", "GET"},
      {"/redirect", 0, true, "moved", "HTTP/1.1 302 Found\r\n", "/redirect", "GET"},
      {"/redirect", 1, false, "final", "HTTP/1.1 200 OK\r\n", "/final", "GET"},
      {"/redirect", 2, false, "", "HTTP/1.1 200 OK\r\n", "/final", "HEAD"},
      {"/missing", 0, false, "missing", "HTTP/1.1 404 Not Found\r\n", "/missing", "GET"},
  };
  for (const ResponseCase& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " method " + std::to_string(c.method));
    std::string rawHeaders;
    const ByteBuffer body = WebRequest(Url(c.path), c.method, "a=1", nullptr, nullptr, nullptr,
                                       &rawHeaders, c.noRedirect);
    EXPECT_EQ(BodyText(body), c.body);
    EXPECT_THAT(rawHeaders, ::testing::StartsWith(c.statusLine));
    EXPECT_FALSE(rawHeaders.ends_with("\r\n"));
    EXPECT_EQ(m_server.LastRequest().target, c.lastTarget);
    EXPECT_EQ(m_server.LastRequest().method, c.lastMethod);
  }
}

TEST_F(WebRequestTest, StoreKeepsCookiesForTheirHostOnly) {
  CookieText returned;
  std::string rawHeaders;
  WebRequest(Url("/set-cookies"), 0, {}, nullptr, &returned, nullptr, &rawHeaders);
  EXPECT_EQ(returned, "sid=1; lang=zh");
  EXPECT_THAT(rawHeaders, HasSubstr("\r\nSet-Cookie: lang=zh"));
  EXPECT_THAT(rawHeaders, Not(HasSubstr("set-cookie")));

  WebRequest(Url("/echo"));
  EXPECT_EQ(CookieEntries(m_server.LastRequest().Header("Cookie")),
            (std::vector<std::string>{"lang=zh", "sid=1"}));

  WebRequest(m_server.UrlFor("localhost", "/echo"));
  EXPECT_EQ(m_server.LastRequest().HeaderCount("Cookie"), 0u);

  ClearCookieStore();
  WebRequest(Url("/echo"));
  EXPECT_EQ(m_server.LastRequest().HeaderCount("Cookie"), 0u);
}

TEST_F(WebRequestTest, SuppliedCookieTextBypassesTheStoreAndIsMerged) {
  WebRequest(Url("/set-cookies"));  // the store now holds sid=1 and lang=zh

  // A supplied empty text counts as supplied: nothing is read from the store...
  CookieText empty;
  WebRequest(Url("/set-cookies?sid=2"), 0, {}, &empty);
  EXPECT_EQ(m_server.LastRequest().HeaderCount("Cookie"), 0u);
  EXPECT_EQ(empty, "sid=2; lang=zh");

  // ...and nothing is fed to it.
  WebRequest(Url("/echo"));
  EXPECT_EQ(CookieEntries(m_server.LastRequest().Header("Cookie")),
            (std::vector<std::string>{"lang=zh", "sid=1"}));

  CookieText cookies = "old=1; sid=0";
  CookieText returned;
  WebRequest(Url("/set-cookies?sid=3"), 0, {}, &cookies, &returned);
  EXPECT_EQ(m_server.LastRequest().HeaderCount("Cookie"), 1u);
  EXPECT_EQ(m_server.LastRequest().Header("Cookie"), "old=1; sid=0");
  EXPECT_EQ(cookies, "sid=3; lang=zh; old=1");
  EXPECT_EQ(returned, "sid=3;lang=zh");
}

TEST_F(WebRequestTest, LargeHeaderBlockComesBackWhole) {
  CookieText returned;
  std::string rawHeaders;
  const ByteBuffer body =
      WebRequest(Url("/large-head"), 0, {}, nullptr, &returned, nullptr, &rawHeaders);
  EXPECT_EQ(BodyText(body), "large");
  EXPECT_GT(rawHeaders.size(), 6000u);
  EXPECT_EQ(returned, "big=1");
}

TEST_F(WebRequestTest, ConnectionsAreReusedUnlessSwitchedOff) {
  for (const bool reuse : {true, false}) {
    WebSettings settings = CurrentWebSettings();
    settings.reuseConnections = reuse;
    SetWebSettings(settings);
    const std::size_t before = m_server.Requests().size();
    WebRequest(Url("/echo"));
    WebRequest(Url("/echo"));
    const std::vector<RecordedRequest> requests = m_server.Requests();
    ASSERT_EQ(requests.size(), before + 2);
    EXPECT_EQ(requests[before].remotePort == requests[before + 1].remotePort, reuse)
        << "reuse " << reuse;
  }
}

TEST_F(WebRequestTest, ManyThreadsAtOnce) {
  constexpr int kThreads = 6;
  constexpr int kCalls = 20;
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kCalls; ++i) {
        const std::string value = std::to_string(t) + "-" + std::to_string(i);
        if (BodyText(WebRequest(Url("/echo-query?v=" + value))) != value) ++wrong;
        if (i % 5 == 0 && BodyText(WebRequest(Url("/set-cookies"))) != "cookies") ++wrong;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(wrong.load(), 0);
  EXPECT_EQ(m_server.Requests().size(), static_cast<std::size_t>(kThreads * (kCalls + 4)));
}

}  // namespace
}  // namespace varnola::test
