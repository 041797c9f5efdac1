// Requests per second through WebRequest for a 20 KB page on loopback, one thread, with
// the connection reused between calls and with a fresh connection for every call.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstddef>
#include <string>
#include <thread>

#include <httplib.h>

#include "http/web_request.h"

namespace {

constexpr std::size_t kPageBytes = 20 * 1024;

// A loopback server with one page, kept for the whole run.
class PageServer {
 public:
  PageServer() : m_page(kPageBytes, 'x') {
    // As a production server does, so the head and the body of an answer are not held back.
    m_server.set_tcp_nodelay(true);
    m_server.set_keep_alive_max_count(1'000'000);
    m_server.Get("/page", [this](const httplib::Request&, httplib::Response& response) {
      response.set_content(m_page, "text/html");
    });
    m_port = m_server.bind_to_any_port("127.0.0.1");
    m_thread = std::thread([this] { m_server.listen_after_bind(); });
    while (!m_server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~PageServer() {
    varnola::SetWebSettings(varnola::WebSettings{});  // closes the client's connections
    m_server.stop();
    m_thread.join();
  }

  std::string Url() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/page"; }

 private:
  std::string m_page;
  httplib::Server m_server;
  int m_port = 0;
  std::thread m_thread;
};

PageServer& Server() {
  static PageServer server;
  return server;
}

void BM_WebRequestPage(benchmark::State& state) {
  const bool reuse = state.range(0) != 0;
  varnola::WebSettings settings;
  settings.reuseConnections = reuse;
  varnola::SetWebSettings(settings);
  const std::string url = Server().Url();

  std::size_t bytes = 0;
  for (auto _ : state) {
    const varnola::ByteBuffer body = varnola::WebRequest(url);
    if (body.size() != kPageBytes) {
      state.SkipWithError("the page did not arrive whole");
      break;
    }
    bytes += body.size();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
  state.SetLabel(reuse ? "reused connection" : "fresh connection per call");
}
BENCHMARK(BM_WebRequestPage)->ArgName("reuse")->Arg(1)->Arg(0)->UseRealTime()->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
