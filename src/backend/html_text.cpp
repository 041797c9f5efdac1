#include "backend/html_text.h"

#include <array>
#include <cstdint>
#include <optional>

#include "http/encodings.h"

namespace varnola {
namespace {

struct NamedReference {
  std::string_view name;
  std::string_view text;
};

constexpr std::array<NamedReference, 6> kNamed = {{
    {"amp", "&"},
    {"lt", "<"},
    {"gt", ">"},
    {"quot", "\""},
    {"apos", "'"},
    {"#39", "'"},
}};

std::string Utf8Of(char32_t cp) {
  std::string out;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
  return out;
}

// The local text of a numeric reference's body ("#20013" or "#x4E2D"); nothing when it
// is no valid character.
std::optional<std::string> NumericReference(std::string_view body) {
  if (body.size() < 2 || body[0] != '#') return std::nullopt;
  const bool hex = body[1] == 'x' || body[1] == 'X';
  const std::string_view digits = body.substr(hex ? 2 : 1);
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t cp = 0;
  for (char c : digits) {
    int value = -1;
    if (c >= '0' && c <= '9') value = c - '0';
    if (hex && c >= 'a' && c <= 'f') value = c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') value = c - 'A' + 10;
    if (value < 0) return std::nullopt;
    cp = cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(value);
  }
  if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  return Utf8ToLocal(Utf8Of(cp));
}

}  // namespace

std::string DecodeHtmlEntities(std::string_view text) {
  if (text.find('&') == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    // "&" and ";" are ASCII and never trail bytes of a local character, so a plain byte
    // search cannot land inside one.
    const std::size_t amp = text.find('&', i);
    if (amp == std::string_view::npos) break;
    out.append(text.substr(i, amp - i));
    const std::size_t semi = text.find(';', amp + 1);
    std::optional<std::string> decoded;
    if (semi != std::string_view::npos && semi - amp <= 10) {
      const std::string_view body = text.substr(amp + 1, semi - amp - 1);
      for (const NamedReference& ref : kNamed) {
        if (body == ref.name) decoded = std::string(ref.text);
      }
      if (!decoded) decoded = NumericReference(body);
    }
    if (decoded) {
      out.append(*decoded);
      i = semi + 1;
    } else {
      out.push_back('&');
      i = amp + 1;
    }
  }
  out.append(text.substr(i));
  return out;
}

}  // namespace varnola
