// The header text of an exchange: the agent string and the header block built from the
// caller's lines, the lines put on the wire, and the cookies read from a response's
// header block.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "http/header_text.h"

namespace {

bool HasLineBreak(const std::string& text) {
  return text.find_first_of("\r\n") != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace varnola;
  FuzzedDataProvider input(data, size);
  const std::string extraHeaders = input.ConsumeRandomLengthString();
  const std::string url = input.ConsumeRandomLengthString();
  const std::string cookieText = input.ConsumeRandomLengthString();
  const std::string rawHeaders = input.ConsumeRemainingBytesAsString();

  // Neither the agent nor any line may carry a line break: it would add a header line.
  fuzz::Require(!HasLineBreak(AgentString(extraHeaders)), "the agent is one line");
  const std::string block = BuildHeaderBlock(extraHeaders, url, cookieText);
  fuzz::Require(block.starts_with(extraHeaders.empty() ? "Accept: */*" : extraHeaders),
                "the caller's lines come first");
  for (const std::string& line : HeaderLines(block)) {
    fuzz::Require(!line.empty() && !HasLineBreak(line), "each wire line is one line");
  }

  const std::string normalised = NormaliseSetCookie(rawHeaders);
  fuzz::Require(normalised.size() == rawHeaders.size(), "normalising keeps the length");
  const std::string cookies = CookiesFromHeaders(normalised);
  fuzz::Require(cookies.size() <= normalised.size(), "the cookies are taken from the lines");
  return 0;
}
