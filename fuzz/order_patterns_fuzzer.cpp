// The two patterns that cut orders out of the back-end's pages, run over arbitrary
// response bodies the way the order list and the order details run them, with every
// match and group read back.
#include <cstdint>
#include <string>
#include <string_view>

#include "backend/html_text.h"
#include "backend/order_patterns.h"
#include "fuzz_support.h"
#include "http/encodings.h"
#include "regex/regex_object.h"

namespace {

// Whether `text` stands in `page` at the 0-based `position`; -2 means no position.
bool StandsAt(const std::string& page, int position, const std::string& text) {
  if (position == -2) return true;
  return position >= 0 && static_cast<std::size_t>(position) <= page.size() &&
         page.compare(static_cast<std::size_t>(position), text.size(), text) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace varnola;
  if (size == 0) return 0;
  // The first byte chooses the page kind; the rest is the body as it arrives.
  const bool listPage = (data[0] & 1) == 0;
  std::string_view body(reinterpret_cast<const char*>(data + 1), size - 1);
  body = body.substr(0, body.find('\0'));  // a body is taken as text up to its first zero
  const std::string page = UrlDecode(body, true);

  RegexObject regex;
  const bool ran = listPage ? regex.Execute(OrderListPattern(), page, true, true, true, false)
                            : regex.Execute(OrderDetailPattern(), page, false, true, true, false);
  fuzz::Require(ran, "the program's own patterns are valid");

  const int groups = listPage ? 8 : 13;
  fuzz::Require(regex.MatchCount() == 0 || regex.SubMatchCount() == groups,
                "every match has the pattern's groups");
  for (int m = 0; m <= regex.MatchCount() + 1; ++m) {
    // The page is valid local text, so positions are exact.
    int position = 0;
    const std::string whole = regex.MatchText(m, &position);
    fuzz::Require(StandsAt(page, position, whole), "a match stands where its position says");
    for (int g = -1; g <= groups + 1; ++g) {
      const std::string field = regex.SubMatchText(m, g, &position);
      fuzz::Require(StandsAt(page, position, field), "a group stands where its position says");
      (void)DecodeHtmlEntities(field);
    }
  }
  return 0;
}
