#include <stdlib.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "backend/config.h"
#include "sim/command_line.h"
#include "sim/sim_server.h"

namespace varnola::sim {
namespace {

namespace fs = std::filesystem;

TEST(CommandLineTest, DefaultsAreTheDemoConfigurationsPorts) {
  const CommandLine line = ParseCommandLine({});
  ASSERT_TRUE(line.ok);
  const AppConfig demo;
  EXPECT_EQ("127.0.0.1:" + std::to_string(line.options.backendPort), demo.backendHost);
  EXPECT_EQ("127.0.0.1:" + std::to_string(line.options.imagePort), demo.imageHost);
  EXPECT_EQ("127.0.0.1:" + std::to_string(line.options.detectPort), demo.trackingDetectHost);
  EXPECT_EQ("127.0.0.1:" + std::to_string(line.options.queryPort), demo.trackingQueryHost);
  EXPECT_EQ(line.options.orderCount, 60);
  EXPECT_EQ(line.options.account, "demo");
  EXPECT_EQ(line.options.password, "demo123");
}

TEST(CommandLineTest, ReadsEveryFlagInBothSpellings) {
  const CommandLine line = ParseCommandLine({"--bind",
                                             "0.0.0.0",
                                             "--backend-port=0",
                                             "--image-port",
                                             "1",
                                             "--detect-port",
                                             "65535",
                                             "--query-port=2",
                                             "--orders",
                                             "100000",
                                             "--seed=18446744073709551615",
                                             "--account",
                                             "a",
                                             "--password=",
                                             "--write-config",
                                             "/tmp/x.ini",
                                             "--latency-ms",
                                             "25",
                                             "--fail-rate=0.5",
                                             "--drop-rate",
                                             "1",
                                             "--expire-after",
                                             "7",
                                             "--cert",
                                             "c.pem",
                                             "--key",
                                             "k.pem",
                                             "--stall",
                                             "--redirect-loop",
                                             "--fault-path=/order/edit"});
  ASSERT_TRUE(line.ok) << line.error;
  const SimOptions& o = line.options;
  EXPECT_EQ(o.bindHost, "0.0.0.0");
  EXPECT_EQ(o.backendPort, 0);
  EXPECT_EQ(o.imagePort, 1);
  EXPECT_EQ(o.detectPort, 65535);
  EXPECT_EQ(o.queryPort, 2);
  EXPECT_EQ(o.orderCount, 100000);
  EXPECT_EQ(o.seed, 18446744073709551615ULL);
  EXPECT_EQ(o.account, "a");
  EXPECT_EQ(o.password, "");
  EXPECT_EQ(o.writeConfig, "/tmp/x.ini");
  EXPECT_EQ(o.faults.latencyMs, 25);
  EXPECT_DOUBLE_EQ(o.faults.failRate, 0.5);
  EXPECT_DOUBLE_EQ(o.faults.dropRate, 1.0);
  EXPECT_EQ(o.faults.expireAfter, 7);
  EXPECT_EQ(o.certFile, "c.pem");
  EXPECT_EQ(o.keyFile, "k.pem");
  EXPECT_TRUE(o.faults.stall);
  EXPECT_TRUE(o.faults.redirectLoop);
  EXPECT_EQ(o.faults.pathPrefix, "/order/edit");
  EXPECT_FALSE(ParseCommandLine({}).options.faults.stall);
  EXPECT_TRUE(ParseCommandLine({"--orders", "5", "--help"}).help);
}

TEST(CommandLineTest, RefusesWhatItCannotUse) {
  const std::vector<std::vector<std::string>> cases = {
      {"--port", "1"},        {"--orders"},
      {"--orders", "100001"}, {"--orders", "-1"},
      {"--orders", "12x"},    {"--backend-port", "65536"},
      {"--fail-rate", "1.5"}, {"--drop-rate", "-0.1"},
      {"--latency-ms", "-5"}, {"--expire-after", "x"},
      {"--account", ""},      {"--seed", "-1"},
      {"orders", "5"},        {"--fault-path", "order/"},
      {"--stall=1"},
  };
  for (const auto& args : cases) {
    const CommandLine line = ParseCommandLine(args);
    EXPECT_FALSE(line.ok) << args.front();
    EXPECT_FALSE(line.error.empty()) << args.front();
  }
}

TEST(SimServerConfigTest, WritesTheToolsConfigurationOnceItServes) {
  std::string pattern = (fs::path(::testing::TempDir()) / "sim-config-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const fs::path folder(pattern);
  const fs::path file = folder / "nested" / "config.ini";

  SimOptions options;
  options.orderCount = 3;
  options.writeConfig = file.string();
  {
    SimServer sim(options);
    ASSERT_TRUE(sim.Start()) << sim.error();
    const ConfigLoad load = LoadConfigFile(file.string());
    ASSERT_TRUE(load.ok) << load.error;
    EXPECT_EQ(load.config.backendHost, "127.0.0.1:" + std::to_string(sim.backendPort()));
    EXPECT_EQ(load.config.imageHost, "127.0.0.1:" + std::to_string(sim.imagePort()));
    EXPECT_EQ(load.config.trackingDetectHost, "127.0.0.1:" + std::to_string(sim.detectPort()));
    EXPECT_EQ(load.config.trackingQueryHost, "127.0.0.1:" + std::to_string(sim.queryPort()));
    EXPECT_EQ(load.config.caFile, sim.caFile());
    std::ifstream ca(load.config.caFile);
    std::stringstream pem;
    pem << ca.rdbuf();
    EXPECT_NE(pem.str().find("-----BEGIN CERTIFICATE-----"), std::string::npos);
    EXPECT_EQ(pem.str().find("PRIVATE KEY"), std::string::npos) << "the CA file holds no key";
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(file.parent_path())) {
      names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"config.ini"}) << "no temporary file is left";
  }
  EXPECT_FALSE(fs::exists(LoadConfigFile(file.string()).config.caFile))
      << "the certificate made at start goes when the simulator stops";
  fs::remove_all(folder);
}

TEST(SimServerConfigTest, APortInUseFailsTheStartWithAReason) {
  SimServer first(SimOptions{});
  ASSERT_TRUE(first.Start()) << first.error();
  SimOptions clash;
  clash.queryPort = first.backendPort();
  SimServer second(clash);
  EXPECT_FALSE(second.Start());
  EXPECT_NE(second.error().find(std::to_string(first.backendPort())), std::string::npos)
      << second.error();
  EXPECT_EQ(second.backendPort(), 0) << "nothing is left serving";
}

}  // namespace
}  // namespace varnola::sim
