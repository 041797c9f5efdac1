#pragma once

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include <httplib.h>

namespace varnola::test {

class TestCertificate;

// One request as the server received it.
struct RecordedRequest {
  std::string method;
  std::string target;  // as it stood on the request line
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  int remotePort = 0;

  // The value of the first header of that name (any letter case), or "".
  std::string Header(std::string_view name) const;
  std::size_t HeaderCount(std::string_view name) const;
};

// An HTTP server inside the test process on an ephemeral loopback port, plain or with
// TLS, that records every request before its route answers it. Routes are added through
// `Routes()` before `Start()`.
class TestHttpServer {
 public:
  TestHttpServer();
  explicit TestHttpServer(const TestCertificate& certificate);
  ~TestHttpServer();
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  httplib::Server& Routes() { return *m_server; }
  // Binds, starts serving and returns whether the server is up.
  bool Start();

  int Port() const { return m_port; }
  // "http://127.0.0.1:<port>" (or https) followed by `path`.
  std::string Url(std::string_view path) const;
  std::string UrlFor(std::string_view host, std::string_view path) const;

  std::vector<RecordedRequest> Requests() const;
  RecordedRequest LastRequest() const;
  // Waits until `count` requests have arrived; false after a generous bound.
  bool WaitForRequests(std::size_t count) const;

  // Called from a route: holds the answer back until the server is torn down, like a
  // server that has stopped responding.
  void Stall();

 private:
  void Record(const httplib::Request& request);

  std::unique_ptr<httplib::Server> m_server;
  bool m_tls = false;
  int m_port = 0;
  std::thread m_thread;
  mutable std::mutex m_mutex;
  mutable std::condition_variable m_changed;
  std::vector<RecordedRequest> m_requests;
  bool m_released = false;
};

}  // namespace varnola::test
