#include <gtest/gtest.h>

#include <string>

#include "regex/regex_object.h"
#include "support/local_literal.h"

namespace varnola {
namespace {

using test::L;

struct ReplaceCase {
  const char* replacement;  // UTF-8
  const char* expected;     // UTF-8
};

class ReplaceTable : public ::testing::TestWithParam<ReplaceCase> {};

// Two matches, each with two groups; the second group of the second match takes no part.
TEST_P(ReplaceTable, ExpandsTheReplacementSyntax) {
  RegexObject regex;
  ASSERT_TRUE(regex.Execute("(\\w+)@(\\w+)?", L("ann@host 张 bob@")));
  EXPECT_EQ(regex.Replace(L(GetParam().replacement)), L(GetParam().expected));
}

const ReplaceCase kReplaceCases[] = {
    {"<$2>", "<host> 张 <>"},
    {"$1$2", "annhost 张 bob"},
    {"[$&]", "[ann@host] 张 [bob@]"},
    {"[$`]", "[] 张 [ann@host 张 ]"},
    {"[$']", "[ 张 bob@] 张 []"},
    {"$$1", "$1 张 $1"},
    {"$0", "$0 张 $0"},
    {"$3", "$3 张 $3"},
    {"$10", "ann0 张 bob0"},
    {"$01", "ann 张 bob"},
    {"$02$", "host$ 张 $"},
    {"$x$", "$x$ 张 $x$"},
    {"收$1", "收ann 张 收bob"},
    {"", " 张 "},
};

INSTANTIATE_TEST_SUITE_P(RegexObject, ReplaceTable, ::testing::ValuesIn(kReplaceCases));

TEST(RegexObjectReplace, TwoDigitGroupNumbers) {
  RegexObject regex;
  ASSERT_TRUE(regex.Execute("(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)", "abcdefghijkl"));
  EXPECT_EQ(regex.Replace("$12$10$1"), "lja");
}

TEST(RegexObjectReplace, FollowsGlobalAndKeepsTheSubjectWithoutMatches) {
  RegexObject regex;
  ASSERT_TRUE(regex.Execute("o", "foo", false, true, false));
  EXPECT_EQ(regex.Replace("0"), "f0o");
  ASSERT_TRUE(regex.Execute("x", L("收货人")));
  EXPECT_EQ(regex.Replace("y"), L("收货人"));
  ASSERT_TRUE(regex.Execute("x*", "ab"));
  EXPECT_EQ(regex.Replace("-"), "-a-b-");
}

}  // namespace
}  // namespace varnola
