// MergeCookies over two cookie texts, and RemoveDuplicateItems with any separator.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "http/cookie_text.h"
#include "http/local_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace varnola;
  FuzzedDataProvider input(data, size);
  CookieText cookies = input.ConsumeRandomLengthString();
  CookieText returned = input.ConsumeRandomLengthString();
  const std::string separator = input.ConsumeRandomLengthString(8);
  const std::string items = input.ConsumeRemainingBytesAsString();

  const std::string merged = MergeCookies(cookies, returned);
  fuzz::Require(merged == cookies, "the merged text replaces the cookie text");
  fuzz::Require(RemoveSpaces(returned) == returned, "the returned cookies lose their spaces");
  if (fuzz::IsWellFormedLocal(merged)) {
    fuzz::Require(MergeCookies(cookies, returned) == merged, "a second merge changes nothing");
  }

  const std::string unique = RemoveDuplicateItems(items, separator);
  fuzz::Require(unique.size() <= items.size(), "removing duplicates never lengthens");
  return 0;
}
