#include "regex/regex_object.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "support/local_literal.h"

namespace varnola {
namespace {

using test::L;

struct SearchCase {
  const char* name;
  const char* pattern;  // UTF-8, converted to local text
  const char* subject;  // UTF-8, converted to local text
  bool caseSensitive;
  bool quotePlaceholders;
  bool ran;
  int matches;
  std::vector<const char*> groupsOfFirst;  // UTF-8
};

class SearchTable : public ::testing::TestWithParam<SearchCase> {};

TEST_P(SearchTable, FindsWhatTheDialectFinds) {
  const SearchCase& c = GetParam();
  RegexObject regex;
  EXPECT_EQ(
      regex.Execute(L(c.pattern), L(c.subject), c.caseSensitive, true, true, c.quotePlaceholders),
      c.ran);
  EXPECT_EQ(regex.MatchCount(), c.matches);
  for (std::size_t k = 0; k < c.groupsOfFirst.size(); ++k) {
    EXPECT_EQ(regex.SubMatchText(1, static_cast<int>(k) + 1), L(c.groupsOfFirst[k]))
        << "group " << k + 1;
  }
  if (c.matches == 0) {
    EXPECT_EQ(regex.SubMatchText(1, 1), "");
    EXPECT_EQ(regex.MatchText(1), "");
    EXPECT_EQ(regex.SubMatchCount(), 0);
  }
}

const SearchCase kSearchCases[] = {
    {"EmptySubject", "<td>(.*?)</td>", "", false, false, true, 0, {}},
    {"UnbalancedParenthesis", "<td>((.*?)</td>", "<td>x</td>", false, false, false, 0, {}},
    {"StrayClosingParenthesis", "<td>.*?)</td>", "<td>x</td>", false, false, false, 0, {}},
    {"PlaceholderOn", "id=#引号(.*?)#引号", "id=\"42\"", false, true, true, 1, {"42"}},
    {"PlaceholderOff", "id=#引号(.*?)#引号", "id=\"42\"", false, false, true, 0, {}},
    {"PlaceholderOffMatchesTheToken",
     "id=#引号(.*?)#引号",
     "id=#引号7#引号",
     false,
     false,
     true,
     1,
     {"7"}},
    {"CaseSensitive", "<TD>(.*?)</TD>", "<td>x</td>", true, false, true, 0, {}},
    {"IgnoreCase", "<TD>(.*?)</TD>", "<td>x</td>", false, false, true, 1, {"x"}},
    {"DotStopsAtLineFeed", "<td>(.*?)</td>", "<td>a\nb</td>", false, false, true, 0, {}},
    {"AnyCharacterClassCrossesLines",
     "<td>([\\s\\S]+?)</td>",
     "<td>a\nb</td>",
     false,
     false,
     true,
     1,
     {"a\nb"}},
    {"LazyTakesTheShortest",
     "<td>(.*?)</td>",
     "<td>a</td><td>b</td>",
     false,
     false,
     true,
     2,
     {"a"}},
    {"EscapedQuestionMark",
     "edit\\?id=(\\d+)",
     "/order/edit?id=42&x",
     false,
     false,
     true,
     1,
     {"42"}},
    {"GroupsByOpeningParenthesis",
     "((a)(b(c)))",
     "abc",
     false,
     false,
     true,
     1,
     {"abc", "a", "bc", "c"}},
    {"ChineseTextComesBackUnchanged",
     "<td>(.*?)</td>",
     "<td>收货人</td>",
     false,
     false,
     true,
     1,
     {"收货人"}},
    {"CharacterOutsideCodePage936Survives",
     "<td>(.*?)</td>",
     "<td>𠮷野家</td>",
     false,
     false,
     true,
     1,
     {"𠮷野家"}},
    {"ChineseLiteralInPattern",
     "收 货 人：(.*?)$",
     "收 货 人：张三\n",
     false,
     false,
     true,
     1,
     {"张三"}},
    {"GroupThatTookNoPart", "(a)|(b)", "b", false, false, true, 1, {"", "b"}},
};

INSTANTIATE_TEST_SUITE_P(RegexObject, SearchTable, ::testing::ValuesIn(kSearchCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RegexObject, ReadsBeforeAnyExecuteGiveNothing) {
  RegexObject regex;
  int position = 0;
  EXPECT_EQ(regex.MatchCount(), 0);
  EXPECT_EQ(regex.SubMatchCount(), 0);
  EXPECT_EQ(regex.MatchText(1, &position), "");
  EXPECT_EQ(position, -2);
  EXPECT_EQ(regex.SubMatchText(1, 1), "");
  EXPECT_EQ(regex.GetPattern(), "");
  EXPECT_EQ(regex.Replace("x"), "");
  regex.NoOp();
}

TEST(RegexObject, NumbersOutsideTheResultsGiveEmptyTexts) {
  RegexObject regex;
  ASSERT_TRUE(regex.Execute("<td>(.*?)</td>", "<td>a</td><td>b</td>"));
  ASSERT_EQ(regex.MatchCount(), 2);
  EXPECT_EQ(regex.MatchText(2), "<td>b</td>");
  for (int match : {0, -1, 3}) {
    EXPECT_EQ(regex.MatchText(match), "") << match;
    EXPECT_EQ(regex.SubMatchText(match, 1), "") << match;
  }
  for (int group : {0, -1, 2}) EXPECT_EQ(regex.SubMatchText(1, group), "") << group;
}

TEST(RegexObject, ThirteenGroupsAreCounted) {
  RegexObject regex;
  ASSERT_TRUE(regex.Execute("(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)(m)", "abcdefghijklm"));
  EXPECT_EQ(regex.SubMatchCount(), 13);
  EXPECT_EQ(regex.SubMatchText(1, 13), "m");
  EXPECT_EQ(regex.SubMatchText(1, 14), "");
}

TEST(RegexObject, SecondExecuteReplacesTheFirst) {
  RegexObject regex;
  ASSERT_TRUE(regex.Execute("<td>(.*?)</td>", "<td>a</td><td>b</td><td>c</td>"));
  ASSERT_EQ(regex.MatchCount(), 3);
  ASSERT_TRUE(regex.Execute("id=(\\d+)", "id=7"));
  EXPECT_EQ(regex.MatchCount(), 1);
  EXPECT_EQ(regex.SubMatchText(1, 1), "7");
  EXPECT_EQ(regex.SubMatchText(2, 1), "");
  EXPECT_EQ(regex.GetPattern(), "id=(\\d+)");

  // A failed search leaves no results, but the pattern stays readable.
  EXPECT_FALSE(regex.Execute("id=(", "id=7"));
  EXPECT_EQ(regex.MatchCount(), 0);
  EXPECT_EQ(regex.SubMatchText(1, 1), "");
  EXPECT_EQ(regex.GetPattern(), "id=(");
  EXPECT_EQ(regex.Replace("x"), "");
}

TEST(RegexObject, GetPatternShowsResolvedPlaceholders) {
  RegexObject regex;
  regex.Execute(L("id=#引号(.*?)#引号"), "", false, true, true, true);
  EXPECT_EQ(regex.GetPattern(), "id=\"(.*?)\"");
}

TEST(RegexObject, GlobalFalseTakesOnlyTheFirstMatch) {
  RegexObject regex;
  ASSERT_TRUE(regex.Execute("<td>(.*?)</td>", "<td>a</td><td>b</td>", false, true, false));
  EXPECT_EQ(regex.MatchCount(), 1);
  EXPECT_EQ(regex.SubMatchText(1, 1), "a");
}

TEST(RegexObject, PositionsAreByteOffsetsInTheLocalSubject) {
  RegexObject regex;
  // "中文" is four bytes of local text; the cell text "td" also occurs inside "<td>".
  ASSERT_TRUE(regex.Execute("<td>(.*?)</td>(x?)", L("中文<td>td</td>𠮷<td>b</td>")));
  ASSERT_EQ(regex.MatchCount(), 2);
  int position = 0;
  EXPECT_EQ(regex.MatchText(1, &position), "<td>td</td>");
  EXPECT_EQ(position, 4);
  EXPECT_EQ(regex.SubMatchText(1, 1, &position), "td");
  EXPECT_EQ(position, 8);
  // An empty group that took part has a position: where it matched.
  EXPECT_EQ(regex.SubMatchText(1, 2, &position), "");
  EXPECT_EQ(position, 15);
  // After 𠮷 (four bytes, two UTF-16 units).
  EXPECT_EQ(regex.MatchText(2, &position), "<td>b</td>");
  EXPECT_EQ(position, 19);
  EXPECT_EQ(regex.SubMatchText(2, 1, &position), "b");
  EXPECT_EQ(position, 23);
  EXPECT_EQ(regex.MatchText(3, &position), "");
  EXPECT_EQ(position, -2);
  EXPECT_EQ(regex.SubMatchText(1, 3, &position), "");
  EXPECT_EQ(position, -2);

  ASSERT_TRUE(regex.Execute("(a)|(b)", "b"));
  EXPECT_EQ(regex.SubMatchText(1, 1, &position), "");
  EXPECT_EQ(position, -2);
}

TEST(RegexObject, CopySharesTheResultsAndKeepsItsOwnSubject) {
  RegexObject original;
  ASSERT_TRUE(original.Execute("<td>(.*?)</td>", L("<td>收货人</td><td>b</td>")));
  RegexObject copy(original);
  RegexObject assigned;
  assigned.Execute("x", "x");
  assigned = original;

  ASSERT_TRUE(original.Execute("id=(\\d+)", "id=7"));
  for (const RegexObject* r : {&copy, &assigned}) {
    EXPECT_EQ(r->MatchCount(), 2);
    EXPECT_EQ(r->SubMatchText(1, 1), L("收货人"));
    EXPECT_EQ(r->GetPattern(), "<td>(.*?)</td>");
    int position = 0;
    EXPECT_EQ(r->SubMatchText(2, 1, &position), "b");
    EXPECT_EQ(position, 19);
  }
  EXPECT_EQ(copy.Replace("[$1]"), L("[收货人][b]"));
  EXPECT_EQ(original.SubMatchText(1, 1), "7");

  assigned = assigned;
  EXPECT_EQ(assigned.MatchCount(), 2);
}

TEST(RegexObject, RunawayBacktrackingEndsTheSearchWithTheMatchesSoFar) {
  // Two quick matches, then a tail on which the nested quantifiers would backtrack for
  // hours (2^40 ways to split the x's) before failing.
  const std::string subject = "xxy xxy " + std::string(40, 'x') + "zy";
  RegexObject regex;
  ASSERT_TRUE(regex.Execute("(x+x+)+y", subject));
  EXPECT_EQ(regex.MatchCount(), 2);
  EXPECT_EQ(regex.MatchText(2), "xxy");
}

TEST(RegexObject, SeparateObjectsWorkOnSeparateThreadsAtOnce) {
  auto work = [](int seed, bool* ok) {
    RegexObject regex;
    for (int i = 0; i < 200; ++i) {
      const std::string id = std::to_string(seed * 1000 + i);
      // A shared pattern and a pattern of this thread's own, to exercise the cache.
      const bool ran = regex.Execute("id=(\\d+)", "<a href=\"/order/edit?id=" + id + "\">");
      const bool own = ran && regex.SubMatchText(1, 1) == id;
      const bool ran2 = regex.Execute("(" + id + ")", "x" + id + "x");
      if (!own || !ran2 || regex.MatchText(1) != id) *ok = false;
    }
  };
  bool ok1 = true;
  bool ok2 = true;
  std::thread first(work, 1, &ok1);
  std::thread second(work, 2, &ok2);
  first.join();
  second.join();
  EXPECT_TRUE(ok1);
  EXPECT_TRUE(ok2);
}

}  // namespace
}  // namespace varnola
