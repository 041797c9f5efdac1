#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace varnola::sim {

using FormFields = std::multimap<std::string, std::string>;

// One request as the simulated sites see it, independent of the HTTP server library.
struct SimRequest {
  std::string method;   // "GET", "POST", "HEAD"
  std::string path;     // without the query
  std::string target;   // path and query exactly as received
  FormFields query;     // the query's fields, percent-decoded
  std::string cookies;  // the Cookie header lines joined by "; "
  std::string body;

  // The first value of a query field, empty when it is missing.
  std::string QueryValue(std::string_view name) const;
  bool HasQuery(std::string_view name) const {
    return query.find(std::string(name)) != query.end();
  }
};

struct SimResponse {
  int status = 200;
  std::string contentType;
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;  // Location, Set-Cookie, ...

  static SimResponse Html(std::string body, int status = 200);
  static SimResponse Json(std::string body, int status = 200);
  static SimResponse Redirect(const std::string& location);
};

// Percent escapes resolved; with `plusIsSpace` (form bodies and queries) "+" is a blank.
// A "%" without two hexadecimal digits after it stays as it stands.
std::string PercentDecode(std::string_view text, bool plusIsSpace);

// The fields of an application/x-www-form-urlencoded text, in order; a field without "="
// has an empty value.
FormFields ParseFormText(std::string_view text);

// The value of the first cookie called `name` in a Cookie header, empty when absent.
std::string CookieValue(std::string_view cookies, std::string_view name);

}  // namespace varnola::sim
