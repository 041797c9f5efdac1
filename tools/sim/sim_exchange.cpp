#include "sim/sim_exchange.h"

#include "http/encodings.h"

namespace varnola::sim {
namespace {

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::string SimRequest::QueryValue(std::string_view name) const {
  const auto it = query.find(std::string(name));
  return it == query.end() ? std::string() : it->second;
}

SimResponse SimResponse::Html(std::string body, int status) {
  return SimResponse{status, "text/html; charset=UTF-8", std::move(body), {}};
}

SimResponse SimResponse::Json(std::string body, int status) {
  return SimResponse{status, "application/json; charset=UTF-8", std::move(body), {}};
}

SimResponse SimResponse::Redirect(const std::string& location) {
  SimResponse response{302, "text/html; charset=UTF-8", {}, {{"Location", location}}};
  response.body = "<!DOCTYPE html>\n<html><body>Redirecting to <a href=\"" + location + "\">" +
                  location + "</a>.</body></html>\n";
  return response;
}

std::string PercentDecode(std::string_view text, bool plusIsSpace) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexDigitValue(text[i + 1]) >= 0 &&
        HexDigitValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexDigitValue(text[i + 1]) * 16 + HexDigitValue(text[i + 2]));
      i += 2;
    } else if (text[i] == '+' && plusIsSpace) {
      out += ' ';
    } else {
      out += text[i];
    }
  }
  return out;
}

FormFields ParseFormText(std::string_view text) {
  FormFields fields;
  while (!text.empty()) {
    const std::size_t amp = text.find('&');
    const std::string_view field = text.substr(0, amp);
    if (!field.empty()) {
      const std::size_t equals = field.find('=');
      const std::string_view name = field.substr(0, equals);
      const std::string_view value =
          equals == std::string_view::npos ? std::string_view() : field.substr(equals + 1);
      fields.emplace(PercentDecode(name, true), PercentDecode(value, true));
    }
    if (amp == std::string_view::npos) break;
    text.remove_prefix(amp + 1);
  }
  return fields;
}

std::string CookieValue(std::string_view cookies, std::string_view name) {
  while (!cookies.empty()) {
    const std::size_t semicolon = cookies.find(';');
    const std::string_view entry = TrimBlanks(cookies.substr(0, semicolon));
    const std::size_t equals = entry.find('=');
    if (equals != std::string_view::npos && TrimBlanks(entry.substr(0, equals)) == name) {
      return std::string(TrimBlanks(entry.substr(equals + 1)));
    }
    if (semicolon == std::string_view::npos) break;
    cookies.remove_prefix(semicolon + 1);
  }
  return {};
}

}  // namespace varnola::sim
