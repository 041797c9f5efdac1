// RegexObject with an arbitrary pattern, flags, subject and replacement: the translation
// of the pattern dialect, the search and every read of its results.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "regex/regex_object.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace varnola;
  FuzzedDataProvider input(data, size);
  const bool caseSensitive = input.ConsumeBool();
  const bool multiline = input.ConsumeBool();
  const bool global = input.ConsumeBool();
  const bool quotePlaceholders = input.ConsumeBool();
  const std::string pattern = input.ConsumeRandomLengthString(256);
  const std::string replacement = input.ConsumeRandomLengthString(64);
  const std::string subject = input.ConsumeRemainingBytesAsString();

  RegexObject regex;
  if (!regex.Execute(pattern, subject, caseSensitive, multiline, global, quotePlaceholders)) {
    fuzz::Require(regex.MatchCount() == 0 && regex.SubMatchText(1, 1).empty(),
                  "a refused pattern leaves no results");
    return 0;
  }
  fuzz::Require(global || regex.MatchCount() <= 1, "without global at most one match");
  const int groups = regex.SubMatchCount();
  for (int m = 0; m <= regex.MatchCount() + 1; ++m) {
    int position = 0;
    (void)regex.MatchText(m, &position);
    for (int g = 0; g <= groups + 1; ++g) (void)regex.SubMatchText(m, g, &position);
  }
  (void)regex.Replace(replacement);
  const RegexObject copy(regex);
  fuzz::Require(copy.MatchCount() == regex.MatchCount(), "a copy shares the results");
  return 0;
}
