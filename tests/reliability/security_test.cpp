// What the headless tool leaves behind: the password in none of its outputs or files, no
// cookie on disk, and https that only talks to a certificate it can verify.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/seams/order_columns.h"
#include "backend/config.h"
#include "backend/query_encoding.h"
#include "http/encodings.h"
#include "reliability/child_process.h"
#include "reliability/cli_run.h"
#include "reliability/reliability_support.h"
#include "sim/sim_server.h"

namespace varnola {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kTimeAllowed{60000};
// Blanks, form delimiters, a percent sign and Chinese: every way of writing it differs.
const std::string kPassword = "Se cr&et=+%1 密码口令";

// Prints, for each file under the folder (and each entry of a zip archive, such as a
// workbook), the numbers of the needles it holds.
constexpr const char* kFindNeedles = R"py(
import os, sys, zipfile
root, needles = sys.argv[1], [bytes.fromhex(h) for h in sys.argv[2:]]
for folder, _, names in os.walk(root):
    for name in names:
        path = os.path.join(folder, name)
        with open(path, "rb") as f:
            parts = [f.read()]
        if zipfile.is_zipfile(path):
            with zipfile.ZipFile(path) as archive:
                parts += [archive.read(entry) for entry in archive.namelist()]
        for number, needle in enumerate(needles):
            if any(needle in part for part in parts):
                print(number, os.path.relpath(path, root))
)py";

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string hex;
  for (const unsigned char c : bytes) {
    hex.push_back(digits[c >> 4]);
    hex.push_back(digits[c & 15]);
  }
  return hex;
}

// "number path" for every needle found under `root`.
std::string FilesHolding(const std::string& root, const std::vector<std::string>& needles) {
  test::TempDir scripts;
  test::WriteTextFile(scripts.Path("scan.py"), kFindNeedles);
  test::ProcessSpec spec;
  spec.argv = {"/usr/bin/python3", scripts.Path("scan.py"), root};
  for (const std::string& needle : needles) spec.argv.push_back(Hex(needle));
  spec.environment = test::SanitizerEnvironment();
  const test::ProcessResult scan = test::RunProcess(spec);
  EXPECT_EQ(scan.exitCode, 0) << scan.err;
  return scan.out;
}

// Every spelling in which the password could leak: as typed (UTF-8), in the local code
// page, and percent-encoded the way the sign-in form carries it.
std::vector<std::string> PasswordSpellings() {
  const std::string local = Utf8ToLocal(kPassword);
  return {kPassword, local, EncodeQueryValue(local, true), EncodeQueryValue(local, false)};
}

std::set<std::string> FilesUnder(const std::string& root) {
  std::set<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_directory()) files.insert(std::filesystem::relative(entry.path(), root).string());
  }
  return files;
}

class SecurityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::SimOptions options;
    options.orderCount = 6;
    options.seed = 3;
    options.password = kPassword;
    m_sim = std::make_unique<sim::SimServer>(options);
    ASSERT_TRUE(m_sim->Start()) << m_sim->error();
    WriteConfig(true);
  }

  void WriteConfig(bool withCa) {
    AppConfig config = m_sim->ClientConfig();
    if (!withCa) config.caFile.clear();
    test::WriteTextFile(m_home.Path("config.ini"), ConfigText(config));
  }

  test::ProcessResult Run(const std::vector<std::string>& steps, const std::string& password) {
    std::vector<std::string> args = {"--config", m_home.Path("config.ini")};
    if (!password.empty()) args.insert(args.end(), {"--account", "demo", "--password-stdin"});
    args.insert(args.end(), steps.begin(), steps.end());
    test::ProcessResult run = test::RunCli(m_home, args, kTimeAllowed, password + "\n");
    EXPECT_TRUE(run.started);
    EXPECT_FALSE(run.timedOut);
    return run;
  }

  std::unique_ptr<sim::SimServer> m_sim;
  test::TempDir m_home;
};

TEST_F(SecurityTest, ThePasswordAppearsInNoOutputAndNoFile) {
  const test::ProcessResult good = Run({"--list", "all", "--details", "--track", "1", "--print",
                                        "--export", m_home.Path("orders.xlsx")},
                                       kPassword);
  ASSERT_EQ(good.exitCode, 0) << good.err;
  ASSERT_NE(good.err.find("say: 登录成功！"), std::string::npos) << "the password was taken";
  const test::ProcessResult wrong = Run({"--list", "all"}, "wrong " + kPassword);
  EXPECT_EQ(wrong.exitCode, 1) << wrong.err;

  const std::vector<std::string> spellings = PasswordSpellings();
  for (const test::ProcessResult* run : {&good, &wrong}) {
    for (const std::string& spelling : spellings) {
      EXPECT_EQ(run->out.find(spelling), std::string::npos) << run->out;
      EXPECT_EQ(run->err.find(spelling), std::string::npos) << run->err;
    }
  }
  EXPECT_EQ(FilesHolding(m_home.path(), spellings), "");

  // The scan does find what a file holds, inside the workbook's archive too.
  const std::string firstOrderNo = m_sim->orders().front().orderNo;
  EXPECT_EQ(FilesHolding(m_home.path(), {firstOrderNo}), "0 orders.xlsx\n");
}

TEST_F(SecurityTest, NoCookieIsWrittenToDisk) {
  const test::ProcessResult run =
      Run({"--list", "all", "--details", "--export", m_home.Path("orders.xlsx")}, kPassword);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  // The run did carry a session cookie, from the sign-in to the last order page.
  ASSERT_NE(m_sim->receivedRequests(sim::SimHost::Backend)
                .back()
                .Header("Cookie")
                .find("varnola-business="),
            std::string::npos);

  // Home, configuration, data, cache and temporary folders all lie in the home: only what
  // the run was asked to write is there.
  EXPECT_EQ(FilesUnder(m_home.path()), (std::set<std::string>{"config.ini", "orders.xlsx"}));
  // The session cookie's name, and the first line of libcurl's cookie-jar format.
  EXPECT_EQ(FilesHolding(m_home.path(), {"varnola-business", "HTTP Cookie File"}), "");
}

TEST_F(SecurityTest, TrackingOnlyTalksToACertificateItCanVerify) {
  // A workbook with every order's details, the parcel numbers among them.
  const test::ProcessResult fetch = Run(
      {"--list", "all", "--details", "--print", "--export", m_home.Path("orders.xlsx")}, kPassword);
  ASSERT_EQ(fetch.exitCode, 0) << fetch.err;
  const test::Cells printed = test::PrintedTable(fetch.out);
  std::size_t parcelRow = 0;
  for (std::size_t row = 1; row < printed.size() && parcelRow == 0; ++row) {
    if (!printed[row][kColumnTrackingNumber].empty()) parcelRow = row;
  }
  ASSERT_NE(parcelRow, 0u) << "no order has a parcel";
  const std::vector<std::string> track = {"--import", m_home.Path("orders.xlsx"), "--track",
                                          std::to_string(parcelRow)};

  WriteConfig(false);  // the system's own certificates only: the simulator's is not among them
  m_sim->ClearReceivedRequests();
  const test::ProcessResult untrusted = Run(track, {});
  EXPECT_EQ(untrusted.exitCode, 0) << untrusted.err;
  EXPECT_TRUE(m_sim->receivedRequests(sim::SimHost::Detect).empty())
      << "a request went out over an unverified connection";
  ASSERT_EQ(m_sim->receivedRequests(sim::SimHost::Query).size(), 1u);
  EXPECT_NE(m_sim->receivedRequests(sim::SimHost::Query).front().target.find("&id=&"),
            std::string::npos);

  WriteConfig(true);
  m_sim->ClearReceivedRequests();
  const test::ProcessResult trusted = Run(track, {});
  EXPECT_EQ(trusted.exitCode, 0) << trusted.err;
  EXPECT_EQ(m_sim->receivedRequests(sim::SimHost::Detect).size(), 1u);
}

}  // namespace
}  // namespace varnola
