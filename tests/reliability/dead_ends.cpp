#include "reliability/dead_ends.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include <gtest/gtest.h>

namespace varnola::test {
namespace {

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// Binds a new socket to a free loopback port; -1 on failure.
int BindLoopback(int& port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in address = Loopback(0);
  socklen_t length = sizeof address;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(fd);
    return -1;
  }
  port = ntohs(address.sin_port);
  return fd;
}

// Starts a connection without waiting; true once it is established within `waitMs`.
bool ConnectsWithin(int fd, int port, int waitMs) {
  const sockaddr_in address = Loopback(port);
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return true;
  if (errno != EINPROGRESS) return false;
  pollfd watch{fd, POLLOUT, 0};
  return poll(&watch, 1, waitMs) == 1 && (watch.revents & POLLOUT) != 0;
}

}  // namespace

UnreachablePort::UnreachablePort() {
  m_listener = BindLoopback(m_port);
  if (m_listener < 0 || listen(m_listener, 0) != 0) {
    ADD_FAILURE() << "cannot listen on a loopback port";
    return;
  }
  // Fill the queue until a handshake no longer completes: from then on every new one
  // hangs, and the kernel drops its attempts silently.
  for (int attempt = 0; attempt < 16; ++attempt) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) break;
    m_fillers.push_back(fd);
    if (!ConnectsWithin(fd, m_port, 200)) return;
  }
  ADD_FAILURE() << "the listener's queue never filled";
}

UnreachablePort::~UnreachablePort() {
  for (const int fd : m_fillers) close(fd);
  if (m_listener >= 0) close(m_listener);
}

RefusingPort::RefusingPort() {
  m_socket = BindLoopback(m_port);
  EXPECT_GE(m_socket, 0) << "cannot bind a loopback port";
}

RefusingPort::~RefusingPort() {
  if (m_socket >= 0) close(m_socket);
}

}  // namespace varnola::test
