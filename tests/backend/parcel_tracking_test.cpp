#include "backend/parcel_tracking.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sim/sim_exchange.h"
#include "sim/tracking_service.h"
#include "sim_fixture.h"

namespace varnola {
namespace {

using test::L;

// A loopback port that takes connections into its backlog and never answers them.
class SilentListener {
 public:
  SilentListener() {
    m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_socket < 0 || ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(m_socket, 8) != 0 ||
        ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      ADD_FAILURE() << "cannot open a listening socket";
      return;
    }
    m_port = ntohs(address.sin_port);
  }
  ~SilentListener() {
    if (m_socket >= 0) ::close(m_socket);
  }
  SilentListener(const SilentListener&) = delete;
  SilentListener& operator=(const SilentListener&) = delete;

  int port() const { return m_port; }

 private:
  int m_socket = -1;
  int m_port = 0;
};

// A port on which nothing listens (bound for a moment, then released).
int ClosedPort() {
  const SilentListener listener;
  return listener.port();
}

using Field = std::pair<std::string, std::string>;

// The fields of a recorded target's query in order, values as they were sent.
std::vector<Field> QueryFields(const std::string& target) {
  std::vector<Field> fields;
  std::string_view query = target;
  const std::size_t question = query.find('?');
  if (question == std::string_view::npos) return fields;
  query.remove_prefix(question + 1);
  while (true) {
    const std::string_view field = query.substr(0, query.find('&'));
    const std::size_t equals = field.find('=');
    fields.emplace_back(std::string(field.substr(0, equals)), equals == std::string_view::npos
                                                                  ? std::string_view()
                                                                  : field.substr(equals + 1));
    if (field.size() == query.size()) return fields;
    query.remove_prefix(field.size() + 1);
  }
}

// A value as the service reads it. It must have been sent percent-encoded: only the
// unreserved characters stand as themselves.
std::string Decoded(const std::string& sent) {
  EXPECT_EQ(sent.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                   "0123456789-._~%"),
            std::string::npos)
      << sent;
  return sim::PercentDecode(sent, false);
}

class ParcelTrackingTest : public test::SimFixture {
 protected:
  ParcelTrackingTest() : m_savedSettings(CurrentWebSettings()) {}

  void TearDown() override {
    SimFixture::TearDown();
    SetWebSettings(m_savedSettings);
  }

  const sim::SimOrder& ShippedOrder() {
    for (const sim::SimOrder& order : server().orders()) {
      if (!order.trackingNo.empty()) return order;
    }
    ADD_FAILURE() << "the simulator has no shipped order";
    return server().orders().front();
  }

  // Appends a row whose "快递单号" cell holds `trackingNumber` (local text).
  int AddRow(const std::string& trackingNumber) {
    const int row = fake.table.AppendRow();
    fake.table.SetCellText(row, kColumnTrackingNumber, trackingNumber);
    return row;
  }

  void Track() {
    Frontend ui = fake.Get();
    TrackParcel(ui, config, lastTrackingText);
  }

  // What the service answers a query for `utf8Number`, as the merchant must see it.
  std::string ShownRecord(const std::string& utf8Number) {
    const sim::TrackingService service(server().data());
    return Utf8ToLocal(service.TrackingRecord("huitongkuaidi", utf8Number));
  }

  std::string lastTrackingText;

 private:
  WebSettings m_savedSettings;
};

// Detection, then the query, with every value arriving as the row held it.
TEST_F(ParcelTrackingTest, SendsDetectionThenQueryAndShowsTheAnswer) {
  StartSim();
  const std::string shipped = ShippedOrder().trackingNo;
  const struct {
    const char* name;
    std::string utf8Number;  // empty: no row selected
    bool selectRow;
    std::string encodedNumber;  // as it must stand in both targets
  } cases[] = {
      {"an order's parcel", shipped, true, shipped},
      {"ampersand and spaces", "A1 B&C 9", true, "A1%20B%26C%209"},
      {"Chinese characters, sent as UTF-8", "单号 7&8", true, "%E5%8D%95%E5%8F%B7%207%268"},
      {"no row selected", "", false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fake.table.DeleteAllRows();
    AddRow(L("SF000000000000"));  // a row that is not the one asked about
    const int row = AddRow(L(c.utf8Number));
    fake.table.SelectRow(c.selectRow ? row : -1);
    server().ClearReceivedRequests();
    const std::size_t shown = fake.messageBox.Texts().size();

    Track();

    const auto requests = server().trackingRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].host, sim::SimHost::Detect);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].target, "/autonumber/auto?num=" + c.encodedNumber);
    EXPECT_EQ(requests[0].body, "");

    EXPECT_EQ(requests[1].host, sim::SimHost::Query);
    EXPECT_EQ(requests[1].method, "GET");
    const std::string& target = requests[1].target;
    const std::string head = "/query?type=huitongkuaidi&postid=" + c.encodedNumber + "&id=";
    ASSERT_TRUE(target.starts_with(head)) << target;

    // The detection answer is JSON full of quotes and commas: encoded, it stays one value.
    const auto fields = QueryFields(target);
    ASSERT_EQ(fields.size(), 5u) << target;
    EXPECT_EQ(fields[0], (Field{"type", "huitongkuaidi"}));
    EXPECT_EQ(fields[1].first, "postid");
    EXPECT_EQ(Decoded(fields[1].second), c.utf8Number);
    EXPECT_EQ(fields[2].first, "id");
    EXPECT_EQ(Decoded(fields[2].second), sim::TrackingService::CarrierAnswer(c.utf8Number));
    EXPECT_EQ(fields[3], (Field{"valicode", ""}));
    EXPECT_EQ(fields[4].first, "temp");
    const std::string& temp = fields[4].second;
    ASSERT_EQ(temp.size(), 18u) << temp;
    EXPECT_TRUE(temp.starts_with("0.")) << temp;
    EXPECT_EQ(temp.find_first_not_of("0123456789", 2), std::string::npos) << temp;

    const auto texts = fake.messageBox.Texts();
    ASSERT_EQ(texts.size(), shown + 1);
    EXPECT_EQ(texts.back(), ShownRecord(c.utf8Number));
  }
}

TEST_F(ParcelTrackingTest, TheAnswerIsShownInLocalText) {
  StartSim();
  const sim::SimOrder& order = ShippedOrder();
  fake.table.SelectRow(AddRow(L(order.trackingNo)));

  Track();

  const auto texts = fake.messageBox.Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find(L("【上海转运中心】")), std::string::npos) << LocalToUtf8(texts[0]);
  EXPECT_NE(texts[0].find(L(order.city)), std::string::npos);
  EXPECT_TRUE(lastTrackingText.starts_with("{\"message\":\"ok\"")) << lastTrackingText;
}

TEST_F(ParcelTrackingTest, EachQueryCarriesItsOwnDetectionAnswer) {
  StartSim();
  const int first = AddRow("SF1234567890");
  const int second = AddRow("YT9876543210");
  server().ClearReceivedRequests();

  fake.table.SelectRow(first);
  Track();
  fake.table.SelectRow(second);
  Track();

  const auto requests = server().trackingRequests();
  ASSERT_EQ(requests.size(), 4u);
  const std::pair<std::string, std::string> expected[] = {{"SF1234567890", "shunfeng"},
                                                          {"YT9876543210", "yuantong"}};
  for (int i = 0; i < 2; ++i) {
    const auto& [number, carrier] = expected[i];
    EXPECT_EQ(requests[2 * i].target, "/autonumber/auto?num=" + number);
    const auto fields = QueryFields(requests[2 * i + 1].target);
    ASSERT_EQ(fields.size(), 5u);
    EXPECT_EQ(fields[1].second, number);
    const std::string answer = Decoded(fields[2].second);
    EXPECT_EQ(answer, sim::TrackingService::CarrierAnswer(number));
    EXPECT_NE(answer.find(carrier), std::string::npos) << answer;
  }
  EXPECT_EQ(fake.messageBox.Texts().size(), 2u);
}

// A failed detection leaves "id" empty; the query still goes out.
TEST_F(ParcelTrackingTest, AnUntrustedDetectionHostLeavesTheIdEmpty) {
  StartSim();
  WebSettings settings = CurrentWebSettings();
  settings.extraCaFile.clear();
  SetWebSettings(settings);
  fake.table.SelectRow(AddRow("SF1234567890"));

  Track();

  const auto queries = server().receivedRequests(sim::SimHost::Query);
  ASSERT_EQ(queries.size(), 1u);
  EXPECT_TRUE(queries[0].target.starts_with(
      "/query?type=huitongkuaidi&postid=SF1234567890&id=&valicode=&temp="))
      << queries[0].target;
  EXPECT_TRUE(server().receivedRequests(sim::SimHost::Detect).empty());
  ASSERT_EQ(fake.messageBox.Texts().size(), 1u);
  EXPECT_EQ(fake.messageBox.Texts()[0], ShownRecord("SF1234567890"));
}

TEST_F(ParcelTrackingTest, AnUnreachableServiceGivesAnEmptyMessageBox) {
  WebSettings settings = CurrentWebSettings();
  settings.connectTimeout = std::chrono::milliseconds(300);
  settings.idleTimeout = std::chrono::milliseconds(300);
  SetWebSettings(settings);
  const SilentListener silent;
  const struct {
    const char* name;
    int port;
  } cases[] = {{"nothing listens", ClosedPort()}, {"connections never answered", silent.port()}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    config.trackingDetectHost = config.trackingQueryHost = "127.0.0.1:" + std::to_string(c.port);
    fake.table.SelectRow(fake.table.RowCount() > 0 ? 0 : AddRow("SF1234567890"));
    lastTrackingText = "an earlier answer";
    const std::size_t shown = fake.messageBox.Texts().size();

    Track();

    ASSERT_EQ(fake.messageBox.Texts().size(), shown + 1);
    EXPECT_EQ(fake.messageBox.Texts().back(), "");
    EXPECT_EQ(lastTrackingText, "");
  }
}

}  // namespace
}  // namespace varnola
