// varnola-sim: the simulated merchant back-end, image host and parcel-tracking service.

#include <signal.h>
#include <cstdio>
#include <string>
#include <vector>

#include "sim/command_line.h"
#include "sim/sim_server.h"

namespace {

using varnola::sim::SimServer;

void PrintEndpoints(const SimServer& server, const varnola::sim::SimOptions& options) {
  const varnola::AppConfig config = server.ClientConfig();
  std::printf("varnola-sim: %zu orders (seed %llu), sign in as \"%s\"\n", server.orders().size(),
              static_cast<unsigned long long>(options.seed), options.account.c_str());
  std::printf("  back-end          http://%s/site/login\n", config.backendHost.c_str());
  std::printf("  image host        http://%s/\n", config.imageHost.c_str());
  std::printf("  carrier detection https://%s/autonumber/auto\n",
              config.trackingDetectHost.c_str());
  std::printf("  tracking query    http://%s/query\n", config.trackingQueryHost.c_str());
  std::printf("  CA file           %s\n", config.caFile.c_str());
  if (!options.writeConfig.empty()) {
    std::printf("  configuration     %s\n", options.writeConfig.c_str());
  }
  std::printf("ports backend=%d image=%d detect=%d query=%d\n", server.backendPort(),
              server.imagePort(), server.detectPort(), server.queryPort());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const varnola::sim::CommandLine line =
      varnola::sim::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (line.help) {
    std::fputs(varnola::sim::UsageText().c_str(), stdout);
    return 0;
  }
  if (line.version) {
    std::printf("varnola-sim %s\n", VARNOLA_VERSION);
    return 0;
  }
  if (!line.ok) {
    std::fprintf(stderr, "varnola-sim: %s\n\n%s", line.error.c_str(),
                 varnola::sim::UsageText().c_str());
    return 2;
  }

  // Every thread inherits this mask, so only the wait below receives the stop signals.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  SimServer server(line.options);
  if (!server.Start()) {
    std::fprintf(stderr, "varnola-sim: %s\n", server.error().c_str());
    return 1;
  }
  PrintEndpoints(server, line.options);

  int received = 0;
  sigwait(&stopSignals, &received);
  std::printf("varnola-sim: stopping\n");
  server.Stop();
  return 0;
}
