#include "sim/sim_server.h"

#include <signal.h>
#include <sys/socket.h>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>
#include <utility>

#include <httplib.h>

#include "sim/atomic_file.h"
#include "sim/fault_switch.h"
#include "sim/merchant_site.h"
#include "sim/tls_identity.h"
#include "sim/tracking_service.h"

namespace varnola::sim {
namespace {

constexpr std::size_t kHostCount = 4;
constexpr const char* kHostNames[kHostCount] = {"back-end", "image host", "carrier detection",
                                                "tracking query"};

// A keep-alive client keeps its connection for this many requests (the library's
// default of 5 makes a sequential client reconnect all the time) and while it pauses
// for up to this many seconds.
constexpr std::size_t kKeepAliveRequests = 100000;
constexpr time_t kKeepAliveSeconds = 2;

constexpr const char* kServerErrorPage =
    "<!DOCTYPE html>\n<html><head><meta charset=\"UTF-8\"><title>Internal Server Error "
    "(#500)</title></head>\n<body><h1>Internal Server Error (#500)</h1><p>服务器内部错误。</p>"
    "</body></html>\n";

struct Listener {
  std::unique_ptr<httplib::Server> server;
  std::thread thread;
  std::shared_ptr<std::atomic<bool>> finished;
  int port = 0;
};

std::size_t Index(SimHost host) {
  return static_cast<std::size_t>(host);
}

SimRequest ToSimRequest(const httplib::Request& req) {
  SimRequest request;
  request.method = req.method;
  request.path = req.path;
  request.target = req.target;
  if (const auto mark = req.target.find('?'); mark != std::string::npos) {
    request.query = ParseFormText(std::string_view(req.target).substr(mark + 1));
  }
  const auto [first, last] = req.headers.equal_range("Cookie");
  for (auto it = first; it != last; ++it) {
    if (!request.cookies.empty()) request.cookies += "; ";
    request.cookies += it->second;
  }
  request.body = req.body;
  return request;
}

// Announces the full length, sends half the body and then drops the connection.
void CutOffMidBody(httplib::Response& res, SimResponse response) {
  auto body = std::make_shared<std::string>(std::move(response.body));
  const std::size_t cut = body->size() / 2;
  res.set_content_provider(body->size(), response.contentType,
                           [body, cut](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                             if (offset < cut) sink.write(body->data() + offset, cut - offset);
                             return false;
                           });
}

std::string ClientHost(const std::string& bindHost, int port) {
  std::string host = bindHost;
  if (host.empty() || host == "0.0.0.0") host = "127.0.0.1";
  if (host == "::") host = "::1";
  if (host.find(':') != std::string::npos) host = "[" + host + "]";
  return host + ":" + std::to_string(port);
}

}  // namespace

struct SimServer::Impl {
  explicit Impl(SimOptions startOptions)
      : options(std::move(startOptions)),
        data(GenerateSimData(options.orderCount, options.seed)),
        faults(options.faults, options.seed ^ 0x5EEDFA17ULL),
        site(data, options.account, options.password),
        tracking(data) {}

  void Serve(SimHost host, const httplib::Request& req, httplib::Response& res);
  SimResponse Dispatch(SimHost host, const SimRequest& request, const SimFaults& now);
  bool PrepareTls();
  bool Listen(SimHost host, int port);
  void StopAll();

  SimOptions options;
  SimData data;
  FaultSwitch faults;
  RequestLog log;
  MerchantSite site;
  TrackingService tracking;
  std::string error;
  TlsFiles tls;
  std::string tempFolder;  // holds the certificate made at start
  Listener listeners[kHostCount];
};

void SimServer::Impl::Serve(SimHost host, const httplib::Request& req, httplib::Response& res) {
  log.Add(RecordedRequest{
      0, host, req.method, req.target, {req.headers.begin(), req.headers.end()}, req.body});
  SimFaults now = faults.Get();
  const bool hit = FaultSwitch::Hits(now, req.path);
  if (hit && now.stall) {
    if (!faults.HoldWhileStalled(req.path)) return;  // stopping: the answer no longer matters
    now = faults.Get();
  }
  if (hit && now.latencyMs > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(now.latencyMs));
  }
  if (hit && now.redirectLoop) {
    res.status = 302;
    res.set_header("Location", req.target);
    return;
  }
  if (hit && faults.Roll(now.failRate)) {
    res.status = 500;
    res.set_content(kServerErrorPage, "text/html; charset=UTF-8");
    return;
  }
  SimResponse response = Dispatch(host, ToSimRequest(req), now);
  res.status = response.status;
  for (const auto& [name, value] : response.headers) res.set_header(name, value);
  if (hit && !response.body.empty() && faults.Roll(now.dropRate)) {
    CutOffMidBody(res, std::move(response));
    return;
  }
  res.set_content(response.body, response.contentType);
}

SimResponse SimServer::Impl::Dispatch(SimHost host, const SimRequest& request,
                                      const SimFaults& now) {
  switch (host) {
    case SimHost::Backend:
      return site.Handle(request, now.expireAfter);
    case SimHost::Image:
      return ServeImage(data, request);
    case SimHost::Detect:
      return tracking.HandleDetect(request);
    case SimHost::Query:
      return tracking.HandleQuery(request);
  }
  return SimResponse::Html({}, 404);
}

bool SimServer::Impl::PrepareTls() {
  if (!options.certFile.empty() || !options.keyFile.empty()) {
    if (options.certFile.empty() || options.keyFile.empty()) {
      error = "a certificate needs both its file and its key file";
      return false;
    }
    std::error_code ignored;
    tls.certFile = std::filesystem::absolute(options.certFile, ignored).string();
    tls.keyFile = options.keyFile;
    return true;
  }
  tempFolder = MakePrivateTempFolder();
  if (tempFolder.empty()) {
    error = "cannot make a folder for the certificate";
    return false;
  }
  error = WriteSelfSignedIdentity(tempFolder, tls);
  return error.empty();
}

bool SimServer::Impl::Listen(SimHost host, int port) {
  Listener& listener = listeners[Index(host)];
  const std::string name = kHostNames[Index(host)];
  if (host == SimHost::Detect) {
    listener.server =
        std::make_unique<httplib::SSLServer>(tls.certFile.c_str(), tls.keyFile.c_str());
  } else {
    listener.server = std::make_unique<httplib::Server>();
  }
  httplib::Server& server = *listener.server;
  if (!server.is_valid()) {
    error = "the " + name + " cannot use the certificate " + tls.certFile + " with its key";
    listener.server.reset();
    return false;
  }
  // The library's default, SO_REUSEPORT, would let a second simulator share the ports
  // of a running one; SO_REUSEADDR alone still allows a quick restart.
  server.set_socket_options([](socket_t sock) {
    int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  server.set_tcp_nodelay(true);
  server.set_keep_alive_max_count(kKeepAliveRequests);
  server.set_keep_alive_timeout(kKeepAliveSeconds);
  server.set_payload_max_length(1 << 20);
  const std::size_t threads = host == SimHost::Backend ? 16 : 4;
  server.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
  const auto handler = [this, host](const httplib::Request& req, httplib::Response& res) {
    Serve(host, req, res);
  };
  server.Get(".*", handler);
  server.Post(".*", handler);

  const std::string& bindHost = options.bindHost;
  listener.port = port == 0 ? server.bind_to_any_port(bindHost)
                            : (server.bind_to_port(bindHost, port) ? port : -1);
  if (listener.port <= 0) {
    error = "cannot listen on " + bindHost + ":" + std::to_string(port) + " for the " + name +
            " (is the port taken?)";
    listener.server.reset();
    return false;
  }
  listener.finished = std::make_shared<std::atomic<bool>>(false);
  listener.thread = std::thread([&server, finished = listener.finished] {
    server.listen_after_bind();
    *finished = true;
  });
  // stop() only ends a server that has begun to listen, so wait for that.
  while (!server.is_running() && !*listener.finished) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (!server.is_running()) {
    error = "the " + name + " stopped at once";
    return false;
  }
  return true;
}

void SimServer::Impl::StopAll() {
  faults.SetStopping(true);  // a held request would keep its server from stopping
  for (Listener& listener : listeners) {
    if (listener.server) listener.server->stop();
    if (listener.thread.joinable()) listener.thread.join();
    listener.server.reset();
    listener.port = 0;
  }
}

SimServer::SimServer(SimOptions options) : m_impl(std::make_unique<Impl>(std::move(options))) {}

SimServer::~SimServer() {
  Stop();
}

bool SimServer::Start() {
  Impl& impl = *m_impl;
  for (const Listener& listener : impl.listeners) {
    if (listener.server) return true;  // already serving
  }
  impl.error.clear();
  impl.faults.SetStopping(false);
  // Writing to a client that has hung up raises SIGPIPE, which would end the whole
  // process; a program that has chosen its own handling keeps it.
  struct sigaction pipe {};
  if (sigaction(SIGPIPE, nullptr, &pipe) == 0 && pipe.sa_handler == SIG_DFL) {
    signal(SIGPIPE, SIG_IGN);
  }
  if (!impl.PrepareTls()) {
    Stop();
    return false;
  }
  const SimOptions& options = impl.options;
  const std::pair<SimHost, int> ports[] = {{SimHost::Backend, options.backendPort},
                                           {SimHost::Image, options.imagePort},
                                           {SimHost::Detect, options.detectPort},
                                           {SimHost::Query, options.queryPort}};
  for (const auto& [host, port] : ports) {
    if (!impl.Listen(host, port)) {
      Stop();
      return false;
    }
  }
  if (!options.writeConfig.empty()) {
    const std::string failure =
        WriteFileAtomically(options.writeConfig, ConfigText(ClientConfig()));
    if (!failure.empty()) {
      impl.error = "cannot write the configuration: " + failure;
      Stop();
      return false;
    }
  }
  return true;
}

void SimServer::Stop() {
  m_impl->StopAll();
  if (!m_impl->tempFolder.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(m_impl->tempFolder, ignored);
    m_impl->tempFolder.clear();
  }
}

const std::string& SimServer::error() const {
  return m_impl->error;
}
int SimServer::backendPort() const {
  return m_impl->listeners[Index(SimHost::Backend)].port;
}
int SimServer::imagePort() const {
  return m_impl->listeners[Index(SimHost::Image)].port;
}
int SimServer::detectPort() const {
  return m_impl->listeners[Index(SimHost::Detect)].port;
}
int SimServer::queryPort() const {
  return m_impl->listeners[Index(SimHost::Query)].port;
}
std::string SimServer::caFile() const {
  return m_impl->tls.certFile;
}

AppConfig SimServer::ClientConfig() const {
  const std::string& bindHost = m_impl->options.bindHost;
  AppConfig config;
  config.backendHost = ClientHost(bindHost, backendPort());
  config.imageHost = ClientHost(bindHost, imagePort());
  config.trackingDetectHost = ClientHost(bindHost, detectPort());
  config.trackingQueryHost = ClientHost(bindHost, queryPort());
  config.caFile = caFile();
  return config;
}

const SimData& SimServer::data() const {
  return m_impl->data;
}
const std::vector<SimOrder>& SimServer::orders() const {
  return m_impl->data.orders;
}

std::vector<RecordedRequest> SimServer::receivedRequests(SimHost host) const {
  return m_impl->log.Requests(host);
}

std::vector<RecordedRequest> SimServer::trackingRequests() const {
  return m_impl->log.Requests(SimHost::Detect, SimHost::Query);
}

void SimServer::ClearReceivedRequests() {
  m_impl->log.Clear();
}
void SimServer::SetFaults(const SimFaults& faults) {
  m_impl->faults.Set(faults);
}
SimFaults SimServer::faults() const {
  return m_impl->faults.Get();
}

}  // namespace varnola::sim
