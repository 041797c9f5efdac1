#pragma once

// What the detail benchmarks share: the order count from the command line, the simulator
// and the client settings for it, and a count of the connections a run opened.

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

#include "http/web_request.h"
#include "sim/sim_server.h"

namespace varnola::bench {

inline constexpr int kDefaultOrders = 1000;

// Takes "--orders N" or "--orders=N" out of the arguments (the rest go to the benchmark
// library) and returns N, or the default.
inline int TakeOrderCount(int& argc, char** argv) {
  int orders = kDefaultOrders;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg.starts_with("--orders=")) {
      orders = std::atoi(argv[i] + 9);
    } else if (arg == "--orders" && i + 1 < argc) {
      orders = std::atoi(argv[++i]);
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  return orders > 0 ? orders : kDefaultOrders;
}

inline sim::SimOptions SimWithOrders(int orders) {
  sim::SimOptions options;
  options.orderCount = orders;
  return options;
}

// Points the client at a started simulator, with a fresh cookie store.
inline void UseSim(const sim::SimServer& server) {
  WebSettings settings = CurrentWebSettings();
  settings.extraCaFile = server.caFile();
  SetWebSettings(settings);
  ClearCookieStore();
}

// The local ports of this machine's TCP sockets connected to `port`, in any state; closed
// ones stay listed in TIME_WAIT for a minute, so the difference of two calls counts the
// connections opened in between. (On loopback the kernel may hand a TIME_WAIT port to a
// new connection at once, so a fresh connection per request counts a little short; a
// reused connection counts 0.)
inline std::set<int> ClientPortsTo(int port) {
  std::set<int> ports;
  for (const char* table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
    std::ifstream in(table);
    std::string line;
    std::getline(in, line);  // the heading
    while (std::getline(in, line)) {
      std::istringstream fields(line);
      std::string slot, local, remote;
      fields >> slot >> local >> remote;
      const auto localColon = local.rfind(':');
      const auto remoteColon = remote.rfind(':');
      if (localColon == std::string::npos || remoteColon == std::string::npos) continue;
      if (std::stoi(remote.substr(remoteColon + 1), nullptr, 16) != port) continue;
      ports.insert(std::stoi(local.substr(localColon + 1), nullptr, 16));
    }
  }
  return ports;
}

inline int NewConnections(const std::set<int>& before, const std::set<int>& after) {
  int opened = 0;
  for (int port : after) opened += before.count(port) == 0 ? 1 : 0;
  return opened;
}

}  // namespace varnola::bench
