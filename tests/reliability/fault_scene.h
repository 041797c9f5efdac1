#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "backend/config.h"
#include "http/web_request.h"
#include "reliability/dead_ends.h"
#include "sim/sim_options.h"

namespace varnola::test {

// What can go wrong between the tool and the hosts it talks to.
enum class Fault {
  Unreachable,           // the hosts do not answer the connection at all
  Refused,               // nothing listens: every connection is refused
  Stall,                 // the server takes the request and never answers
  ServerError,           // "500 Internal Server Error" for everything
  CutBody,               // every answer breaks off in the middle of its body
  ExpiredSession,        // the back-end forgets the session part way through
  RedirectLoop,          // every answer redirects back to itself
  OversizeBody,          // every answer is larger than the tool takes
  UntrustedCertificate,  // the https host shows a certificate that does not verify
};

const char* FaultName(Fault fault);
void PrintTo(Fault fault, std::ostream* out);

// A fault made real for one run: the hosts the tool is pointed at, the simulator's fault
// switches and the web layer's settings.
class FaultScene {
 public:
  // `expireAfter`: the requests the session still serves, counted from its start, for
  // ExpiredSession. `pathPrefix`: where the simulator's faults hit; empty = everywhere.
  FaultScene(Fault fault, int expireAfter = 0, std::string pathPrefix = {});

  // The hosts moved to a dead end for Unreachable and Refused; no extra CA for an
  // untrusted certificate.
  AppConfig Config(const AppConfig& healthy) const;
  sim::SimFaults SimFaults() const;
  // A body cap below the size of every page for OversizeBody; no extra CA for an
  // untrusted certificate.
  WebSettings Settings(const WebSettings& healthy) const;

  // The body cap of OversizeBody: above any header block, below every page and answer.
  static constexpr std::size_t kBodyCap = 512;

 private:
  Fault m_fault;
  int m_expireAfter;
  std::string m_pathPrefix;
  std::optional<UnreachablePort> m_unreachable;
  std::optional<RefusingPort> m_refusing;
};

}  // namespace varnola::test
