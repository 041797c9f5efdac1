#pragma once

#include <memory>
#include <string>
#include <vector>

#include "backend/config.h"
#include "sim/order_data.h"
#include "sim/request_log.h"
#include "sim/sim_options.h"

namespace varnola::sim {

// The simulated mall and tracking service, served on four ports of one machine:
//   back-end (http)         login form, dashboard, order lists and order pages
//   image host (http)       the store logo
//   carrier detection (https, with a self-signed certificate unless one is given)
//   tracking query (http)
// Tests start it in-process on free ports (the default options), sign in with a real
// HTTP client, switch faults on and off with SetFaults, and check what the tracking
// service received. Start and Stop are called from one thread; everything else may be
// called from any thread while it serves.
class SimServer {
 public:
  explicit SimServer(SimOptions options);
  ~SimServer();
  SimServer(const SimServer&) = delete;
  SimServer& operator=(const SimServer&) = delete;

  // Binds the four ports, starts serving and, when the options name a file, writes the
  // tool's configuration there (atomically). On failure error() says why and nothing
  // is left running. Sets SIGPIPE to be ignored unless the process handles it already.
  bool Start();
  // Stops serving and removes the certificate files made at start. Idempotent.
  void Stop();

  const std::string& error() const;
  int backendPort() const;
  int imagePort() const;
  int detectPort() const;
  int queryPort() const;
  // The PEM file a client trusts to reach the https host.
  std::string caFile() const;
  // A configuration of the tool that points at this simulator.
  AppConfig ClientConfig() const;

  const SimData& data() const;
  const std::vector<SimOrder>& orders() const;

  // What the hosts received, oldest first (the latest few thousand per host).
  std::vector<RecordedRequest> receivedRequests(SimHost host) const;
  // Both tracking hosts' requests in arrival order.
  std::vector<RecordedRequest> trackingRequests() const;
  void ClearReceivedRequests();

  void SetFaults(const SimFaults& faults);
  SimFaults faults() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace varnola::sim
