#include "sim/html_template.h"

namespace varnola::sim {
namespace {

std::string_view ValueOf(const TemplateValues& values, std::string_view name) {
  for (const auto& [key, value] : values) {
    if (key == name) return value;
  }
  return {};
}

void AppendEscaped(std::string_view text, std::string& out) {
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
}

}  // namespace

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendEscaped(text, out);
  return out;
}

void RenderTemplate(std::string_view page, const TemplateValues& values, std::string& out) {
  std::size_t pos = 0;
  while (pos < page.size()) {
    const std::size_t open = page.find("{{", pos);
    if (open == std::string_view::npos) break;
    const bool raw = page.substr(open, 3) == "{{{";
    const std::string_view closing = raw ? "}}}" : "}}";
    const std::size_t nameStart = open + (raw ? 3 : 2);
    const std::size_t close = page.find(closing, nameStart);
    if (close == std::string_view::npos) break;
    out.append(page.substr(pos, open - pos));
    const std::string_view value = ValueOf(values, page.substr(nameStart, close - nameStart));
    if (raw) {
      out.append(value);
    } else {
      AppendEscaped(value, out);
    }
    pos = close + closing.size();
  }
  out.append(page.substr(pos));
}

std::string RenderTemplate(std::string_view page, const TemplateValues& values) {
  std::string out;
  out.reserve(page.size() + 256);
  RenderTemplate(page, values, out);
  return out;
}

}  // namespace varnola::sim
