#include "http/local_text.h"

#include <gtest/gtest.h>

#include "support/local_literal.h"

namespace varnola {
namespace {

using test::L;

// 丄 is 81 41 in GB18030: its second byte is the ASCII letter "A".
const std::string kTrailA = "\x81\x41";
// 𠮷 (U+20BB7) has a four-byte form whose second and fourth bytes are ASCII digits.
const std::string kFourByte = "\x95\x32\x82\x36";

struct FindCase {
  const char* name;
  std::string text;
  std::string what;
  long start;
  bool ignoreCase;
  long expected;
};

TEST(FindTextTest, FollowsTheSearchRules) {
  const FindCase cases[] = {
      {"plain", "abcabc", "c", 1, false, 3},
      {"from a start position", "abcabc", "c", 4, false, 6},
      {"start below one is the beginning", "abc", "a", -5, false, 1},
      {"start past the end", "abc", "a", 9, false, -1},
      {"not found", "abc", "x", 1, false, -1},
      {"case counts by default", "<B>", "<b>", 1, false, -1},
      {"ignore case folds ASCII", "x<B>", "<b>", 1, true, 2},
      {"never inside a double-byte character", L("中") + "A", "\xD0" "A", 1, false, -1},
      {"trail byte is no letter", kTrailA + "a", "a", 1, true, 3},
      {"trail byte is no letter, exact case", kTrailA + "A", "A", 1, false, 3},
      {"never inside a four-byte character", kFourByte + "2", "2", 1, false, 5},
      {"a Chinese needle", L("收货人：张三"), L("张三"), 1, false, 9},
      {"empty needle found at start", "abc", "", 2, false, 2},
  };
  for (const FindCase& c : cases) {
    EXPECT_EQ(FindText(c.text, c.what, c.start, c.ignoreCase), c.expected) << c.name;
  }
}

TEST(TrimTextTest, RemovesAsciiAndIdeographicSpacesOnly) {
  EXPECT_EQ(TrimText("  a b  "), "a b");
  EXPECT_EQ(TrimText("\xA1\xA1 x\xA1\xA1"), "x");
  EXPECT_EQ(TrimText("\tx\r\n"), "\tx\r\n");
  EXPECT_EQ(TrimText(L("啊") + "\xA1\xA1"), L("啊"));
  EXPECT_EQ(TrimText("   "), "");
  // B0 A1 is one character: its second byte must not pair with the next A1 into a space.
  EXPECT_EQ(TrimText("\xB0\xA1\xA1"), "\xB0\xA1\xA1");
}

TEST(RemoveSpacesTest, RemovesEverySpaceWhereverItStands) {
  EXPECT_EQ(RemoveSpaces(" a b\xA1\xA1" "c "), "abc");
  EXPECT_EQ(RemoveSpaces("a\tb"), "a\tb");
}

TEST(SplitTextTest, FollowsTheSplittingRules) {
  using Pieces = std::vector<std::string>;
  EXPECT_EQ(SplitText("", ";"), Pieces{});
  EXPECT_EQ(SplitText("a;b", ";"), (Pieces{"a", "b"}));
  EXPECT_EQ(SplitText("a;", ";"), (Pieces{"a"}));
  EXPECT_EQ(SplitText(";a", ";"), (Pieces{"", "a"}));
  EXPECT_EQ(SplitText("a;;b", ";"), (Pieces{"a", "", "b"}));
  EXPECT_EQ(SplitText("a\r\nb\r\n", "\r\n"), (Pieces{"a", "b"}));
  EXPECT_EQ(SplitText(kTrailA + "A" + kTrailA, "A"), (Pieces{kTrailA, kTrailA}));
}

TEST(LowerAsciiTest, LeavesMultiByteCharactersAlone) {
  EXPECT_EQ(LowerAscii("HTTP://Shop"), "http://shop");
  EXPECT_EQ(LowerAscii(kTrailA + "B"), kTrailA + "b");
}

TEST(ReplaceAllTest, ReplacesAtCharacterBoundaries) {
  EXPECT_EQ(ReplaceAll("a#b#", "#", "\""), "a\"b\"");
  EXPECT_EQ(ReplaceAll(kTrailA + "A", "A", "z"), kTrailA + "z");
}

}  // namespace
}  // namespace varnola
