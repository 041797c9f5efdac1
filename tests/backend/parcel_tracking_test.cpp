// The tracking number comes from the order table, which a dropped workbook fills, and the
// carrier detection answer from the service: whatever they hold, each travels as one
// encoded value of the query and adds no parameter of its own.
#include "backend/parcel_tracking.h"

#include <gtest/gtest.h>

#include <sstream>

#include "sim_fixture.h"

namespace varnola {
namespace {

using test::L;

class ParcelTrackingTest : public test::SimFixture {};

// The query's parameters as name and value, in order.
std::vector<std::pair<std::string, std::string>> Parameters(const std::string& target) {
  std::vector<std::pair<std::string, std::string>> parameters;
  std::istringstream query(target.substr(target.find('?') + 1));
  for (std::string pair; std::getline(query, pair, '&');) {
    const auto equals = pair.find('=');
    parameters.emplace_back(pair.substr(0, equals),
                            equals == std::string::npos ? "" : pair.substr(equals + 1));
  }
  return parameters;
}

bool IsEncodedValue(const std::string& value) {
  for (const char c : value) {
    const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                            (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
                            c == '~' || c == '%';
    if (!unreserved) return false;
  }
  return true;
}

TEST_F(ParcelTrackingTest, NumberAndDetectionAnswerTravelAsEncodedValues) {
  StartSim();
  struct Case {
    const char* number;      // UTF-8
    const char* encoded;     // as the number must arrive
    const char* answerPart;  // of the detection answer, which must arrive whole as "id"
  };
  const Case cases[] = {
      // A real number: the answer is JSON, with quotes and braces.
      {"70123456789012", "70123456789012", "{\"comCode\":\"huitongkuaidi\""},
      // A number from a workbook that would add parameters if sent as it stands.
      {"70123&type=other 中#x", "70123%26type%3Dother%20%E4%B8%AD%23x", "[]"},
  };
  for (const Case& c : cases) {
    fake.table.DeleteAllRows();
    std::vector<std::string> cells(kOrderColumnCount);
    cells[kColumnTrackingNumber] = L(c.number);
    fake.table.AppendFilledRow(cells);
    fake.table.SelectRow(0);
    server().ClearReceivedRequests();

    Frontend ui = fake.Get();
    std::string lastAnswer;
    TrackParcel(ui, config, lastAnswer);

    const auto received = server().trackingRequests();
    ASSERT_EQ(received.size(), 2u) << c.number;
    EXPECT_EQ(received[0].target, std::string("/autonumber/auto?num=") + c.encoded);
    const auto parameters = Parameters(received[1].target);
    ASSERT_EQ(parameters.size(), 5u) << received[1].target;
    const char* names[] = {"type", "postid", "id", "valicode", "temp"};
    for (std::size_t i = 0; i < parameters.size(); ++i) {
      EXPECT_EQ(parameters[i].first, names[i]) << c.number;
      EXPECT_TRUE(IsEncodedValue(parameters[i].second)) << parameters[i].second;
    }
    EXPECT_EQ(parameters[1].second, c.encoded);
    EXPECT_NE(UrlDecode(parameters[2].second).find(c.answerPart), std::string::npos)
        << parameters[2].second;
  }
  EXPECT_EQ(fake.messageBox.Texts().size(), 2u);
}

}  // namespace
}  // namespace varnola
