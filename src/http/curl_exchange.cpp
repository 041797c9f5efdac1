#include "http/curl_exchange.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <memory>

#include <curl/curl.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include "http/cookie_store.h"
#include "http/curl_handle_pool.h"
#include "http/exchange_control.h"
#include "http/local_text.h"
#include "http/response_collector.h"
#include "http/web_settings_state.h"

namespace varnola {
namespace {

using std::chrono::milliseconds;

constexpr long kMaxRedirects = 20;
// The longest single wait; cancellation wakes the wait early in any case.
constexpr milliseconds kLongestWait{1000};

struct SlistDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, SlistDeleter>;

// libcurl drops a header line with an empty value ("Name:") unless it is written as
// "Name;"; the caller's line goes out as it stands.
std::string AsCurlHeader(const std::string& line) {
  const std::size_t colon = line.find(':');
  if (colon == std::string::npos || !TrimText(line.substr(colon + 1)).empty()) return line;
  return line.substr(0, colon) + ";";
}

HeaderList MakeHeaderList(const std::vector<std::string>& lines) {
  curl_slist* list = nullptr;
  bool hasExpect = false;
  for (const std::string& line : lines) {
    hasExpect = hasExpect || LowerAscii(line).starts_with("expect:");
    if (curl_slist* grown = curl_slist_append(list, AsCurlHeader(line).c_str())) list = grown;
  }
  // libcurl would otherwise ask a larger body to wait for "100 Continue".
  if (!hasExpect) {
    if (curl_slist* grown = curl_slist_append(list, "Expect:")) list = grown;
  }
  return HeaderList(list);
}

// Trusts the configured extra CA besides the system store, which libcurl has already
// loaded into the context's store when it calls this.
CURLcode AddExtraCa(CURL*, void* sslContext, void* caFile) {
  X509_STORE* store = SSL_CTX_get_cert_store(static_cast<SSL_CTX*>(sslContext));
  if (store != nullptr) {
    X509_STORE_load_file(store, static_cast<const std::string*>(caFile)->c_str());
  }
  ERR_clear_error();  // a missing file or a certificate already present is no failure
  return CURLE_OK;
}

long ToLong(milliseconds value) {
  return static_cast<long>(std::max<milliseconds::rep>(1, value.count()));
}

std::string ProxyUrl(const std::string& proxy) {
  return proxy.find("://") == std::string::npos ? "http://" + proxy : proxy;
}

void ConfigureTransfer(CURL* easy, const ExchangeRequest& request, const std::string& url,
                       const WebSettings& settings, curl_slist* headers, bool headWithBody) {
  // libcurl 7.88 loses the list of cookie files on reset instead of freeing it; clearing
  // it first frees it and leaves the shared cookies alone.
  curl_easy_setopt(easy, CURLOPT_COOKIEFILE, static_cast<const char*>(nullptr));
  curl_easy_reset(easy);  // keeps the connections and the DNS entries
  curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  // A cancelled exchange must not wait for a name lookup still running in its thread.
  curl_easy_setopt(easy, CURLOPT_QUICK_EXIT, 1L);
  curl_easy_setopt(easy, CURLOPT_USERAGENT, request.agent.c_str());
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, ToLong(settings.connectTimeout));
  constexpr auto kLargestOffset = static_cast<std::size_t>(std::numeric_limits<curl_off_t>::max());
  curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE,
                   static_cast<curl_off_t>(std::min(settings.maxBodyBytes, kLargestOffset)));
  const bool follow = request.followRedirects && !headWithBody;
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, follow ? 1L : 0L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);

  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!settings.extraCaFile.empty()) {
    curl_easy_setopt(easy, CURLOPT_SSL_CTX_FUNCTION, &AddExtraCa);
    curl_easy_setopt(easy, CURLOPT_SSL_CTX_DATA, &settings.extraCaFile);
  }

  if (request.proxy.empty()) {
    curl_easy_setopt(easy, CURLOPT_PROXY, "");  // direct, whatever the environment says
  } else {
    curl_easy_setopt(easy, CURLOPT_PROXY, ProxyUrl(request.proxy).c_str());
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "");  // the proxy serves every host
    curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  }

  if (request.useCookieStore) {
    curl_easy_setopt(easy, CURLOPT_SHARE, SharedCookieStore());
    curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");  // cookie engine on, no file read
  } else {
    curl_easy_setopt(easy, CURLOPT_SHARE, static_cast<CURLSH*>(nullptr));
  }

  if (!settings.reuseConnections) {
    curl_easy_setopt(easy, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
  }

  static const ByteBuffer kNoBody;
  const ByteBuffer& body = request.body != nullptr ? *request.body : kNoBody;
  // A non-null pointer even for an empty body, or libcurl would read the body from stdin.
  const char* bodyBytes = body.empty() ? "" : reinterpret_cast<const char*>(body.data());
  switch (request.method) {
    case HttpMethod::kGet:
      curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
      break;
    case HttpMethod::kPost:
      curl_easy_setopt(easy, CURLOPT_POST, 1L);
      curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
      curl_easy_setopt(easy, CURLOPT_POSTFIELDS, bodyBytes);
      break;
    case HttpMethod::kHead:
      if (headWithBody) {
        // libcurl sends no body with CURLOPT_NOBODY: the body goes as a post under the
        // verb HEAD, and the collector ends the transfer after the response head.
        curl_easy_setopt(easy, CURLOPT_POST, 1L);
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, bodyBytes);
        curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, "HEAD");
      } else {
        curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
      }
      break;
  }
}

// Drives one transfer until it ends, is cancelled, or receives nothing for the idle time.
bool RunTransfer(const HandleLease& lease, const ResponseCollector& collector,
                 milliseconds idleTimeout) {
  CURL* easy = lease.Easy();
  CURLM* multi = lease.Multi();
  if (curl_multi_add_handle(multi, easy) != CURLM_OK) return false;

  bool finished = false;
  {
    const CancelWatch watch(multi);
    for (;;) {
      int running = 0;
      if (curl_multi_perform(multi, &running) != CURLM_OK) break;
      if (running == 0) {
        finished = true;
        break;
      }
      if (watch.Cancelled()) break;
      const auto idle = std::chrono::duration_cast<milliseconds>(ResponseCollector::Clock::now() -
                                                                 collector.LastActivity());
      if (idle >= idleTimeout) break;
      const milliseconds wait = std::clamp(idleTimeout - idle, milliseconds{1}, kLongestWait);
      if (curl_multi_poll(multi, nullptr, 0, static_cast<int>(wait.count()), nullptr) != CURLM_OK) {
        break;
      }
    }
  }

  CURLcode result = CURLE_ABORTED_BY_CALLBACK;
  if (finished) {
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
      if (message->msg == CURLMSG_DONE && message->easy_handle == easy) {
        result = message->data.result;
      }
    }
  }
  curl_multi_remove_handle(multi, easy);  // an unfinished transfer's connection is closed
  return result == CURLE_OK || (result == CURLE_WRITE_ERROR && collector.StoppedAfterHeaders());
}

bool IsRedirect(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The absolute URL a Location header leads to from `base`, or empty.
std::string ResolveLocation(const std::string& base, const std::string& location) {
  CURLU* parts = curl_url();
  if (parts == nullptr) return {};
  std::string resolved;
  char* text = nullptr;
  if (curl_url_set(parts, CURLUPART_URL, base.c_str(), 0) == CURLUE_OK &&
      curl_url_set(parts, CURLUPART_URL, location.c_str(),
                   CURLU_URLENCODE | CURLU_ALLOW_SPACE | CURLU_PATH_AS_IS) == CURLUE_OK &&
      curl_url_get(parts, CURLUPART_URL, &text, 0) == CURLUE_OK) {
    resolved = text;
  }
  curl_free(text);
  curl_url_cleanup(parts);
  return resolved;
}

}  // namespace

ExchangeResult PerformExchange(const ExchangeRequest& request) {
  if (WebRequestsShutDown() || request.url.empty()) return {};
  const WebSettingsSnapshot snapshot = CurrentWebSettingsSnapshot();
  const WebSettings& settings = snapshot.settings;
  const HandleLease lease(snapshot.generation);
  if (!lease.Valid()) return {};

  const bool headWithBody =
      request.method == HttpMethod::kHead && request.body != nullptr && !request.body->empty();
  const HeaderList headers = MakeHeaderList(request.headerLines);
  const milliseconds idleTimeout = std::max(settings.idleTimeout, milliseconds{1});

  std::string url = request.url;
  for (long hop = 0;; ++hop) {
    ResponseCollector collector(settings.maxBodyBytes, headWithBody);
    ConfigureTransfer(lease.Easy(), request, url, settings, headers.get(), headWithBody);
    collector.Attach(lease.Easy());
    if (!RunTransfer(lease, collector, idleTimeout)) return {};

    // A HEAD with a body follows its redirects here, since libcurl cannot.
    if (headWithBody && request.followRedirects && IsRedirect(collector.Status()) &&
        !collector.Location().empty()) {
      if (hop >= kMaxRedirects) return {};
      url = ResolveLocation(url, collector.Location());
      if (url.empty()) return {};
      continue;
    }
    return {true, collector.TakeBody(), collector.TakeHeaders()};
  }
}

}  // namespace varnola
