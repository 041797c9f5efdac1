#pragma once

#include <vector>

namespace varnola::test {

// A loopback port that cannot be reached: its listener's queue is kept full and never
// taken from, so a new connection's handshake goes unanswered until the client gives up,
// as with a host that is down or cut off.
class UnreachablePort {
 public:
  UnreachablePort();
  ~UnreachablePort();
  UnreachablePort(const UnreachablePort&) = delete;
  UnreachablePort& operator=(const UnreachablePort&) = delete;

  int port() const { return m_port; }

 private:
  int m_listener = -1;
  std::vector<int> m_fillers;
  int m_port = 0;
};

// A loopback port that is bound but does not listen: every connection is refused at once.
// Holding the port keeps anybody else from taking it meanwhile.
class RefusingPort {
 public:
  RefusingPort();
  ~RefusingPort();
  RefusingPort(const RefusingPort&) = delete;
  RefusingPort& operator=(const RefusingPort&) = delete;

  int port() const { return m_port; }

 private:
  int m_socket = -1;
  int m_port = 0;
};

}  // namespace varnola::test
