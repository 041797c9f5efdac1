#pragma once

#include <cstdint>
#include <string>

namespace varnola::sim {

// Faults that tests and benchmarks switch on; they apply to every host of the simulator.
struct SimFaults {
  int latencyMs = 0;    // added before every answer
  double failRate = 0;  // fraction of requests answered "500 Internal Server Error"
  double dropRate = 0;  // fraction of answers cut off in the middle of the body
  int expireAfter = 0;  // a session serves this many requests, then is gone; 0 = never
  // Requests are taken and held without a word until the fault is switched off (they are
  // then answered as usual) or the simulator stops.
  bool stall = false;
  // Every answer is "302 Found" leading back to the address that was asked for.
  bool redirectLoop = false;
  // The faults above, except expireAfter, hit only paths that begin with this text (the
  // path without its query, "/order/edit" say); empty hits every path.
  std::string pathPrefix{};
};

// How to start the simulator. Ports of 0 pick free ones (the in-process default); the
// command line defaults to the fixed ports of the demo configuration.
struct SimOptions {
  std::string bindHost = "127.0.0.1";
  int backendPort = 0;
  int imagePort = 0;
  int detectPort = 0;  // carrier detection, https
  int queryPort = 0;   // tracking query, http
  int orderCount = 60;
  std::uint64_t seed = 42;
  std::string account = "demo";
  std::string password = "demo123";
  std::string writeConfig;  // when set, the tool's configuration is written here once bound
  std::string certFile;     // PEM certificate and key for https; empty = made at start
  std::string keyFile;
  SimFaults faults;
};

}  // namespace varnola::sim
