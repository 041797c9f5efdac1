#include "http/text_between.h"

#include <gtest/gtest.h>

#include "support/local_literal.h"

namespace varnola {
namespace {

using test::L;

struct BetweenCase {
  const char* name;
  std::string text, left, right;
  long start;
  bool ignoreCase;
  std::string expected;
};

TEST(TextBetweenTest, CutsTheTextBetweenMarkers) {
  const BetweenCase cases[] = {
      {"plain", "a<b>c</b>d", "<b>", "</b>", 1, false, "c"},
      {"adjacent markers", "<b></b>", "<b>", "</b>", 1, false, ""},
      {"right marker missing", "<b>c", "<b>", "</b>", 1, false, ""},
      {"left marker missing", "c</b>", "<b>", "</b>", 1, false, ""},
      {"right searched after left", "x</b><b>c</b>", "<b>", "</b>", 1, false, "c"},
      {"placeholder quotes", "name=\"v1\" name=\"v2\"", L("name=#引号"), L("#引号"), 1, false, "v1"},
      {"case counts", "<B>c</b>", "<b>", "</b>", 1, false, ""},
      {"ignore case", "<B>c</b>", "<b>", "</b>", 1, true, "c"},
      {"start 0 is the beginning", "<b>c</b>", "<b>", "</b>", 0, false, "c"},
      {"start past the end", "<b>c</b>", "<b>", "</b>", 99, false, ""},
      {"start skips a first occurrence", "<b>c</b><b>d</b>", "<b>", "</b>", 2, false, "d"},
      {"empty text", "", "<b>", "</b>", 1, false, ""},
      {"empty right marker", "<b>c</b>", "<b>", "", 1, false, ""},
      {"empty left marker", "c</b>", "", "</b>", 1, false, "c"},
      {"right marker never overlaps the left", "aXa", "aX", "Xa", 1, false, ""},
      {"Chinese content", L("<dd>小店</dd>"), "<dd>", "</dd>", 1, false, L("小店")},
  };
  for (const BetweenCase& c : cases) {
    EXPECT_EQ(TextBetween(c.text, c.left, c.right, c.start, c.ignoreCase), c.expected) << c.name;
  }
}

TEST(TextBetweenTest, PlaceholderIsTheLocalBytesOfTheToken) {
  EXPECT_EQ(std::string(kQuotePlaceholder), L("#引号"));
}

}  // namespace
}  // namespace varnola
