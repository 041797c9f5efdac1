#include "excel/xml_text.h"

#include "http/encodings.h"

namespace varnola {
namespace {

char16_t EscapedUnit(std::string_view text, std::size_t pos) {
  char16_t unit = 0;
  for (std::size_t i = pos + 2; i < pos + 6; ++i) {
    unit = static_cast<char16_t>(unit * 16 + HexDigitValue(text[i]));
  }
  return unit;
}

constexpr std::size_t kEscapeLength = 7;  // "_xHHHH_"

}  // namespace

bool IsEscapeAt(std::string_view text, std::size_t pos) {
  if (pos + kEscapeLength > text.size()) return false;
  if (text[pos] != '_' || text[pos + 1] != 'x' || text[pos + 6] != '_') return false;
  for (std::size_t i = pos + 2; i < pos + 6; ++i) {
    if (HexDigitValue(text[i]) < 0) return false;
  }
  return true;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string DecodeEscapes(std::string text) {
  if (text.find("_x") == std::string::npos) return text;
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (!IsEscapeAt(text, i)) {
      decoded += text[i++];
      continue;
    }
    char32_t unit = EscapedUnit(text, i);
    i += kEscapeLength;
    if (unit >= 0xD800 && unit <= 0xDBFF && IsEscapeAt(text, i)) {
      const char16_t low = EscapedUnit(text, i);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        i += kEscapeLength;
      }
    }
    if (unit >= 0xD800 && unit <= 0xDFFF) unit = 0xFFFD;
    if (unit != 0) AppendUtf8(decoded, unit);
  }
  return decoded;
}

}  // namespace varnola
