#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "http/byte_buffer.h"
#include "http/cookie_text.h"

namespace varnola {

// Performs one complete HTTP exchange and returns the response body (empty when the
// exchange failed). Every text is local text. A null pointer means "not supplied"; a
// supplied empty cookie text counts as supplied and keeps the process-wide cookie store
// out of the exchange.
//
//   method          0 GET, 1 POST, 2 HEAD; any other value is GET
//   postText        the body of a POST or HEAD when the post bytes are empty
//   cookieText      in/out: sent as the Cookie line; the response's cookies are merged in
//   returnedCookies out: the name=value pairs of the response's Set-Cookie lines
//   extraHeaders    in/out: header lines joined by "\r\n"; on return the block that was sent
//   rawHeaders      out: the final response's header block, status line first
//   noRedirect      true: redirects are returned, not followed
//   postBytes       in/out: the body of a POST or HEAD; filled from the post text when empty
//   proxy           an HTTP proxy "host:port"; empty means a direct connection
ByteBuffer WebRequest(const std::string& url, int method = 0, const std::string& postText = {},
                      CookieText* cookieText = nullptr, CookieText* returnedCookies = nullptr,
                      std::string* extraHeaders = nullptr, std::string* rawHeaders = nullptr,
                      bool noRedirect = false, ByteBuffer* postBytes = nullptr,
                      const std::string& proxy = {});

// Process-wide settings of every exchange; tests may shorten the time-outs.
struct WebSettings {
  std::chrono::milliseconds connectTimeout{15000};
  std::chrono::milliseconds idleTimeout{30000};  // nothing received for this long: abandon
  std::size_t maxBodyBytes = 64u << 20;          // larger body: abandoned, empty body
  std::string extraCaFile;                       // extra CA (PEM) trusted besides the system store
  bool reuseConnections = true;                  // false: a fresh connection for every exchange
};

// New settings apply to exchanges that start afterwards; connections made under the old
// settings are not reused.
void SetWebSettings(const WebSettings& settings);
WebSettings CurrentWebSettings();

// Aborts every exchange in flight within about 100 ms; later calls work normally.
void CancelRunningWebRequests();

// The same, and every later call returns an empty body at once (used at program exit).
void ShutdownWebRequests();

// Forgets the process-wide cookies (tests, a new sign-in session).
void ClearCookieStore();

// Closes the kept-alive connections that no exchange is using, so that a server can end
// at once instead of waiting for them to time out.
void CloseIdleConnections();

}  // namespace varnola
