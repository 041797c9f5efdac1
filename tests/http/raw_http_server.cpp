#include "http/raw_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <chrono>

namespace varnola::test {
namespace {

constexpr auto kGenerousWait = std::chrono::seconds(20);

std::string DefaultAnswer(const std::string& request) {
  if (request.starts_with("HEAD ")) return "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n";
  return "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello";
}

// The Content-Length of a request head, 0 when it names none.
std::size_t ContentLength(std::string_view head) {
  std::string lowered(head);
  for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const std::size_t at = lowered.find("\r\ncontent-length:");
  if (at == std::string::npos) return 0;
  return std::stoul(lowered.substr(at + 17));
}

bool SendAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

}  // namespace

RawHttpServer::RawHttpServer() : RawHttpServer(DefaultAnswer) {}

RawHttpServer::RawHttpServer(Responder responder) : m_responder(std::move(responder)) {
  if (::pipe(m_stopPipe) != 0) return;
  m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof(address);
  if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      ::listen(m_listener, 16) != 0 ||
      ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return;
  }
  m_port = ntohs(address.sin_port);
  m_thread = std::thread([this] { Serve(); });
}

RawHttpServer::~RawHttpServer() {
  if (m_stopPipe[1] >= 0) {
    const char stop = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_stopPipe[1], &stop, 1);
  }
  if (m_thread.joinable()) m_thread.join();
  for (int fd : {m_listener, m_stopPipe[0], m_stopPipe[1]}) {
    if (fd >= 0) ::close(fd);
  }
}

std::string RawHttpServer::Url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(m_port) + std::string(path);
}

std::vector<std::string> RawHttpServer::Requests() const {
  const std::lock_guard lock(m_mutex);
  return m_requests;
}

bool RawHttpServer::WaitForRequests(std::size_t count) const {
  std::unique_lock lock(m_mutex);
  return m_changed.wait_for(lock, kGenerousWait, [&] { return m_requests.size() >= count; });
}

// Waits until `fd` is readable; false once the server is asked to stop.
bool RawHttpServer::WaitReadable(int fd) const {
  pollfd fds[2] = {{fd, POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
  while (::poll(fds, 2, -1) < 0) {
  }
  return (fds[1].revents & POLLIN) == 0;
}

void RawHttpServer::Serve() {
  while (WaitReadable(m_listener)) {
    const int connection = ::accept(m_listener, nullptr, nullptr);
    if (connection < 0) continue;
    ServeConnection(connection);
    ::close(connection);
  }
}

void RawHttpServer::ServeConnection(int connection) {
  std::string pending;
  char chunk[4096];
  while (WaitReadable(connection)) {
    const ssize_t received = ::recv(connection, chunk, sizeof(chunk), 0);
    if (received <= 0) return;
    pending.append(chunk, static_cast<std::size_t>(received));

    // Answer every complete request that has arrived.
    for (;;) {
      const std::size_t headEnd = pending.find("\r\n\r\n");
      if (headEnd == std::string::npos) break;
      const std::size_t total = headEnd + 4 + ContentLength(pending.substr(0, headEnd + 2));
      if (pending.size() < total) break;
      const std::string request = pending.substr(0, total);
      pending.erase(0, total);
      {
        const std::lock_guard lock(m_mutex);
        m_requests.push_back(request);
      }
      m_changed.notify_all();
      const std::string answer = m_responder(request);
      if (!answer.empty() && !SendAll(connection, answer)) return;
    }
  }
}

}  // namespace varnola::test
