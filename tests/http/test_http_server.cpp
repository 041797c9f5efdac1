#include "http/test_http_server.h"

#include <cctype>
#include <chrono>

#include "http/test_certificate.h"

namespace varnola::test {
namespace {

constexpr auto kGenerousWait = std::chrono::seconds(20);

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::string RecordedRequest::Header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (SameNameIgnoringCase(key, name)) return value;
  }
  return {};
}

std::size_t RecordedRequest::HeaderCount(std::string_view name) const {
  std::size_t count = 0;
  for (const auto& header : headers) count += SameNameIgnoringCase(header.first, name) ? 1 : 0;
  return count;
}

TestHttpServer::TestHttpServer() : m_server(std::make_unique<httplib::Server>()) {}

TestHttpServer::TestHttpServer(const TestCertificate& certificate)
    : m_server(std::make_unique<httplib::SSLServer>(certificate.CertFile().c_str(),
                                                    certificate.KeyFile().c_str())),
      m_tls(true) {}

TestHttpServer::~TestHttpServer() {
  {
    const std::lock_guard lock(m_mutex);
    m_released = true;
  }
  m_changed.notify_all();
  m_server->stop();
  if (m_thread.joinable()) m_thread.join();
}

bool TestHttpServer::Start() {
  if (!m_server->is_valid()) return false;
  m_server->set_tcp_nodelay(true);  // answers are not held back on reused connections
  m_server->set_pre_routing_handler([this](const httplib::Request& request, httplib::Response&) {
    Record(request);
    return httplib::Server::HandlerResponse::Unhandled;
  });
  m_port = m_server->bind_to_any_port("127.0.0.1");
  if (m_port <= 0) return false;
  m_thread = std::thread([this] { m_server->listen_after_bind(); });
  for (int i = 0; i < 2000 && !m_server->is_running(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return m_server->is_running();
}

std::string TestHttpServer::Url(std::string_view path) const {
  return UrlFor("127.0.0.1", path);
}

std::string TestHttpServer::UrlFor(std::string_view host, std::string_view path) const {
  return std::string(m_tls ? "https://" : "http://") + std::string(host) + ":" +
         std::to_string(m_port) + std::string(path);
}

std::vector<RecordedRequest> TestHttpServer::Requests() const {
  const std::lock_guard lock(m_mutex);
  return m_requests;
}

RecordedRequest TestHttpServer::LastRequest() const {
  const std::lock_guard lock(m_mutex);
  return m_requests.empty() ? RecordedRequest{} : m_requests.back();
}

bool TestHttpServer::WaitForRequests(std::size_t count) const {
  std::unique_lock lock(m_mutex);
  return m_changed.wait_for(lock, kGenerousWait, [&] { return m_requests.size() >= count; });
}

void TestHttpServer::Stall() {
  std::unique_lock lock(m_mutex);
  m_changed.wait(lock, [&] { return m_released; });
}

void TestHttpServer::Record(const httplib::Request& request) {
  RecordedRequest recorded;
  recorded.method = request.method;
  recorded.target = request.target;
  recorded.headers.assign(request.headers.begin(), request.headers.end());
  recorded.body = request.body;
  recorded.remotePort = request.remote_port;
  {
    const std::lock_guard lock(m_mutex);
    m_requests.push_back(std::move(recorded));
  }
  m_changed.notify_all();
}

}  // namespace varnola::test
