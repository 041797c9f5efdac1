#include "http/web_request.h"

#include "http/curl_exchange.h"
#include "http/exchange_control.h"
#include "http/header_text.h"
#include "http/request_url.h"

namespace varnola {
namespace {

HttpMethod MethodOf(int method) {
  switch (method) {
    case 1:
      return HttpMethod::kPost;
    case 2:
      return HttpMethod::kHead;
    default:
      return HttpMethod::kGet;
  }
}

}  // namespace

ByteBuffer WebRequest(const std::string& url, int method, const std::string& postText,
                      CookieText* cookieText, CookieText* returnedCookies,
                      std::string* extraHeaders, std::string* rawHeaders, bool noRedirect,
                      ByteBuffer* postBytes, const std::string& proxy) {
  // After shutdown nothing is prepared or sent, and the caller's texts stay as they were.
  if (WebRequestsShutDown()) return {};

  ExchangeRequest request;
  request.method = MethodOf(method);
  const std::string callerLines = extraHeaders != nullptr ? *extraHeaders : std::string();
  request.agent = AgentString(callerLines);

  const std::string block =
      BuildHeaderBlock(callerLines, url, cookieText != nullptr ? *cookieText : std::string());
  if (extraHeaders != nullptr) *extraHeaders = block;
  request.headerLines = HeaderLines(block);

  // GET sends no body; POST and HEAD send the post bytes, filled from the post text in the
  // caller's own variable when they are empty.
  ByteBuffer ownBody;
  ByteBuffer& body = postBytes != nullptr ? *postBytes : ownBody;
  if (request.method != HttpMethod::kGet) {
    if (body.empty()) body = ToBytes(postText);
    request.body = &body;
  }

  request.url = RequestUrl(url);
  request.useCookieStore = cookieText == nullptr;
  request.followRedirects = !noRedirect;
  request.proxy = proxy;

  ExchangeResult result = PerformExchange(request);

  const std::string headers = NormaliseSetCookie(result.rawHeaders);
  std::string cookies = CookiesFromHeaders(headers);
  if (cookieText != nullptr) MergeCookies(*cookieText, cookies);
  if (returnedCookies != nullptr) *returnedCookies = cookies;
  if (rawHeaders != nullptr) *rawHeaders = headers;
  return std::move(result.body);
}

}  // namespace varnola
