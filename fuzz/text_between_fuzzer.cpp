// TextBetween with every parameter taken from the input, and the splitting and
// replacing that share its character-aware search.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "http/local_text.h"
#include "http/text_between.h"

namespace varnola {
namespace {

std::string Joined(const std::vector<std::string>& pieces, const std::string& separator) {
  std::string text;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) text += separator;
    text += pieces[i];
  }
  return text;
}

}  // namespace
}  // namespace varnola

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace varnola;
  FuzzedDataProvider input(data, size);
  const long start = input.ConsumeIntegral<long>();
  const bool ignoreCase = input.ConsumeBool();
  const std::string left = input.ConsumeRandomLengthString();
  const std::string right = input.ConsumeRandomLengthString();
  const std::string text = input.ConsumeRemainingBytesAsString();

  const std::string between = TextBetween(text, left, right, start, ignoreCase);
  fuzz::Require(between.empty() || text.find(between) != std::string::npos,
                "the text between markers is a piece of the text");

  // Joining the pieces with the separator gives the text back, less a final separator.
  const std::vector<std::string> pieces = SplitText(text, left);
  const std::string joined = Joined(pieces, left);
  fuzz::Require(joined == text || (!left.empty() && joined + left == text),
                "split pieces join to the text");

  const std::string replaced = ReplaceAll(text, left, right);
  fuzz::Require(left.empty() || FindText(text, left) > 0 || replaced == text,
                "nothing is replaced when nothing is found");

  const std::string trimmed = TrimText(text);
  fuzz::Require(trimmed.size() <= text.size(), "trimming never adds");
  fuzz::Require(RemoveSpaces(text).size() <= text.size(), "removing spaces never adds");
  fuzz::Require(LowerAscii(text).size() == text.size(), "lowering keeps the length");
  return 0;
}
