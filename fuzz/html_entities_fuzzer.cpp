// DecodeHtmlEntities over arbitrary local text.
#include <cstdint>
#include <string>
#include <string_view>

#include "backend/html_text.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace varnola;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string decoded = DecodeHtmlEntities(text);
  // Every reference is longer than the character it stands for.
  fuzz::Require(decoded.size() <= text.size(), "decoding never lengthens a text");
  if (text.find('&') == std::string_view::npos) {
    fuzz::Require(decoded == text, "a text without references stays as it is");
  }
  return 0;
}
