#include <algorithm>
#include <memory>
#include <string>

#include <gtest/gtest.h>
#include <httplib.h>

#include "http/encodings.h"
#include "sim_browser.h"

namespace varnola::sim::test {
namespace {

using TrackingServiceTest = RunningSim;

std::unique_ptr<httplib::SSLClient> TrustingClient(const SimServer& sim, const std::string& host) {
  auto client = std::make_unique<httplib::SSLClient>(host, sim.detectPort());
  client->set_ca_cert_path(sim.caFile().c_str());
  client->enable_server_certificate_verification(true);
  client->set_connection_timeout(5);
  return client;
}

// The body of an answer, or a text that no expectation accepts.
std::string Body(const httplib::Result& result) {
  return result ? result->body : "(no answer: " + httplib::to_string(result.error()) + ")";
}

TEST_F(TrackingServiceTest, DetectsTheCarrierOverVerifiedHttps) {
  for (const char* host : {"127.0.0.1", "localhost"}) {
    const auto client = TrustingClient(sim(), host);
    const auto answer = client->Post("/autonumber/auto?num=70123456789012", "",
                                     "application/x-www-form-urlencoded");
    ASSERT_TRUE(answer) << host << ": " << httplib::to_string(answer.error());
    EXPECT_EQ(answer->status, 200);
    EXPECT_NE(answer->body.find("\"comCode\":\"huitongkuaidi\""), std::string::npos);
    EXPECT_EQ(answer->body.find_first_of(" \r\n"), std::string::npos)
        << "the answer travels unescaped in the next query's URL";
  }
  const auto client = TrustingClient(sim(), "127.0.0.1");
  EXPECT_EQ(Body(client->Post("/autonumber/auto?num=", "", "text/plain")), "[]");
  EXPECT_NE(
      Body(client->Post("/autonumber/auto?num=SF123456789012", "", "text/plain")).find("shunfeng"),
      std::string::npos);
  const auto get = client->Get("/autonumber/auto?num=70123456789012");
  ASSERT_TRUE(get);
  EXPECT_EQ(get->status, 405);
}

TEST_F(TrackingServiceTest, ACertificateTheClientDoesNotTrustIsRefused) {
  httplib::SSLClient client("127.0.0.1", sim().detectPort());
  client.enable_server_certificate_verification(true);  // the system store only
  client.set_connection_timeout(5);
  const auto answer = client.Post("/autonumber/auto?num=1", "", "text/plain");
  EXPECT_FALSE(answer);
}

TEST_F(TrackingServiceTest, AnswersTheQueryAndRecordsBothRequestsAsSent) {
  const auto shipped = std::find_if(sim().orders().begin(), sim().orders().end(),
                                    [](const SimOrder& o) { return !o.trackingNo.empty(); });
  ASSERT_NE(shipped, sim().orders().end());
  sim().ClearReceivedRequests();

  const auto detect = TrustingClient(sim(), "127.0.0.1");
  const std::string detectTarget = "/autonumber/auto?num=" + shipped->trackingNo;
  const std::string carrier = Body(detect->Post(detectTarget, "", "text/plain"));
  ASSERT_TRUE(carrier.starts_with("[{")) << carrier;

  httplib::Client query("127.0.0.1", sim().queryPort());
  query.set_url_encode(false);  // the tool sends its URL unchanged
  const std::string queryTarget = "/query?type=huitongkuaidi&postid=" + shipped->trackingNo +
                                  "&id=" + carrier + "&valicode=&temp=0.1234567890123454" + "7";
  const auto record = query.Get(queryTarget);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->status, 200);
  EXPECT_TRUE(IsValidUtf8(record->body));
  EXPECT_NE(record->body.find("\"nu\":\"" + shipped->trackingNo + "\""), std::string::npos);
  EXPECT_NE(record->body.find("【" + shipped->city + "分拨中心】"), std::string::npos)
      << "the parcel goes to the order's city";
  EXPECT_NE(record->body.find("上海转运中心"), std::string::npos);
  EXPECT_EQ(Body(query.Get(queryTarget)), record->body) << "the same question, the same answer";

  const auto received = sim().trackingRequests();
  ASSERT_EQ(received.size(), 3u);
  EXPECT_EQ(received[0].host, SimHost::Detect);
  EXPECT_EQ(received[0].method, "POST");
  EXPECT_EQ(received[0].target, detectTarget);
  EXPECT_EQ(received[1].host, SimHost::Query);
  EXPECT_EQ(received[1].method, "GET");
  EXPECT_EQ(received[1].target, queryTarget);
  EXPECT_EQ(received[1].Header("host"), "127.0.0.1:" + std::to_string(sim().queryPort()));
}

TEST_F(TrackingServiceTest, AnEmptyNumberGetsAnErrorRecord) {
  httplib::Client query("127.0.0.1", sim().queryPort());
  const auto record = query.Get("/query?type=huitongkuaidi&postid=&id=[]&valicode=&temp=1");
  ASSERT_TRUE(record);
  EXPECT_NE(record->body.find("\"status\":\"400\""), std::string::npos);
  EXPECT_NE(record->body.find("\"data\":[]"), std::string::npos);
}

}  // namespace
}  // namespace varnola::sim::test
