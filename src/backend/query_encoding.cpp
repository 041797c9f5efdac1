#include "backend/query_encoding.h"

#include "http/encodings.h"

namespace varnola {
namespace {

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

}  // namespace

std::string EncodeQueryValue(std::string_view localText, bool spaceAsPlus) {
  return EncodeQueryBytes(LocalToUtf8(localText), spaceAsPlus);
}

std::string EncodeQueryBytes(std::string_view bytes, bool spaceAsPlus) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 3);
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (IsUnreserved(c)) {
      out.push_back(ch);
    } else if (c == ' ' && spaceAsPlus) {
      out.push_back('+');
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 0x0F]);
    }
  }
  return out;
}

}  // namespace varnola
