// UrlDecode with and without the conversion to local text, and the conversions between
// local text, UTF-8 and UTF-16 that pages and workbooks go through.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "http/encodings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace varnola;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const std::string decoded = UrlDecode(text);
  fuzz::Require(decoded.size() <= text.size(), "decoding never lengthens a text");
  const std::string local = UrlDecode(text, true);
  fuzz::Require(local == Utf8ToLocal(decoded), "toLocal is decoding then conversion");

  // Local text is GB18030, which holds every Unicode character: valid UTF-8 survives the
  // way there and back unchanged.
  if (IsValidUtf8(decoded)) {
    fuzz::Require(LocalToUtf8(local) == decoded, "UTF-8 round-trips through local text");
  }
  const std::u16string wide = ToWideText(text, kCodePageLocal);
  fuzz::Require(wide.size() <= text.size(), "a character never takes more units than bytes");
  (void)FromWideText(wide, kCodePageLocal);
  (void)FromWideText(ToWideText(text), kCodePageUtf8);
  return 0;
}
