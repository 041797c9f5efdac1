#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace varnola::test {

// A bare HTTP/1.1 server on an ephemeral loopback port that keeps every request byte for
// byte, for checks of exactly what went on the wire. It serves one connection at a time
// and keeps it open between requests.
class RawHttpServer {
 public:
  // Gives the bytes to write back for a request (head and body as received); an empty
  // answer leaves the request unanswered.
  using Responder = std::function<std::string(const std::string& request)>;

  // By default a HEAD is answered with a head that announces five body bytes but sends
  // none, as it should, and every other request with the body "hello".
  RawHttpServer();
  explicit RawHttpServer(Responder responder);
  ~RawHttpServer();
  RawHttpServer(const RawHttpServer&) = delete;
  RawHttpServer& operator=(const RawHttpServer&) = delete;

  int Port() const { return m_port; }
  std::string Url(std::string_view path) const;

  std::vector<std::string> Requests() const;
  // Waits until `count` requests have arrived; false after a generous bound.
  bool WaitForRequests(std::size_t count) const;

 private:
  void Serve();
  void ServeConnection(int connection);
  bool WaitReadable(int fd) const;

  Responder m_responder;
  int m_listener = -1;
  int m_stopPipe[2] = {-1, -1};
  int m_port = 0;
  std::thread m_thread;
  mutable std::mutex m_mutex;
  mutable std::condition_variable m_changed;
  std::vector<std::string> m_requests;
};

}  // namespace varnola::test
