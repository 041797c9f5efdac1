#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace varnola {

// Response bodies, request bodies and picture data: counted bytes, possibly empty.
using ByteBuffer = std::vector<std::uint8_t>;

// A body read as text: its bytes up to the first zero byte.
inline std::string BodyText(const ByteBuffer& body) {
  std::string text(body.begin(), body.end());
  if (auto zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
  return text;
}

inline ByteBuffer ToBytes(const std::string& text) { return ByteBuffer(text.begin(), text.end()); }

}  // namespace varnola
