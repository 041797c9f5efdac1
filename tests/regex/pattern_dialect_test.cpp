// The pattern dialect where PCRE2's own defaults would read a pattern differently.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "regex/regex_object.h"
#include "support/local_literal.h"

namespace varnola {
namespace {

using test::L;

struct DialectCase {
  const char* name;
  const char* pattern;  // UTF-8
  std::string subject;  // UTF-8
  bool multiline;
  std::optional<std::vector<std::string>> matches;  // UTF-8; nullopt: the pattern is refused
};

class DialectTable : public ::testing::TestWithParam<DialectCase> {};

TEST_P(DialectTable, MatchesAsTheDialectDoes) {
  const DialectCase& c = GetParam();
  RegexObject regex;
  const bool ran = regex.Execute(L(c.pattern), L(c.subject), false, c.multiline);
  ASSERT_EQ(ran, c.matches.has_value());
  if (!ran) return;
  std::vector<std::string> found;
  for (int i = 1; i <= regex.MatchCount(); ++i) found.push_back(regex.MatchText(i));
  std::vector<std::string> expected;
  for (const std::string& text : *c.matches) expected.push_back(L(text));
  EXPECT_EQ(found, expected);
}

using Texts = std::vector<std::string>;
const std::nullopt_t kRefused = std::nullopt;

const DialectCase kDialectCases[] = {
    // Line ends.
    {"DollarIsTheVeryEnd", "a$", "a\n", false, Texts{}},
    {"DollarAtLineEndWithMultiline", "a$", "a\nba", true, Texts{"a", "a"}},
    {"DollarBeforeCarriageReturn", "a$", "a\r\nb", true, Texts{"a"}},
    {"CaretAfterCarriageReturn", "^b", "a\rb", true, Texts{"b"}},
    {"CaretOnlyAtStartWithoutMultiline", "^b", "b\nb", false, Texts{"b"}},
    {"CaretAfterFinalLineFeed", "^", "a\n", true, Texts{"", ""}},
    {"DotTakesCarriageReturn", "a.b", "a\rb", false, Texts{"a\rb"}},
    {"DotStopsAtLineFeedOnly", ".+", "ab\ncd", false, Texts{"ab", "cd"}},
    // Escapes.
    {"VerticalTabOnly", "a\\vb", "a\nb a\vb", false, Texts{"a\vb"}},
    {"UnknownEscapeIsTheLetter", "\\A\\Z\\Q\\h\\K", "xAZQhKx", false, Texts{"AZQhK"}},
    {"HexEscape", "\\x41\\u4e2d", "A中", false, Texts{"A中"}},
    {"ShortHexEscapeIsTheLetter", "\\x4\\u12", "x4u12", false, Texts{"x4u12"}},
    {"ControlLetter", "\\cI", "a\tb", false, Texts{"\t"}},
    {"OctalWhenThereIsNoGroup", "a\\1", "a\x01", false, Texts{"a\x01"}},
    {"BackReference", "(a)\\1", "aa", false, Texts{"aa"}},
    {"BackReferenceThenDigit", "(a)\\10", "aa0", false, Texts{"aa0"}},
    {"TwoDigitBackReference", "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)\\10", "abcdefghijj", false,
     Texts{"abcdefghijj"}},
    {"EightIsADigit", "\\8", "8", false, Texts{"8"}},
    {"UnsetBackReferenceMatchesEmpty", "(a)?b\\1", "b", false, Texts{"b"}},
    {"WordAndSpaceAreAscii", "\\w+\\s", "中ab_1 ", false, Texts{"ab_1 "}},
    {"WordBoundaryBesideChinese", "\\bfoo\\b", "中foo中", false, Texts{"foo"}},
    // Classes.
    {"EmptyClassMatchesNothing", "a[]", "a]", false, Texts{}},
    {"NegatedEmptyClassMatchesAnything", "a[^]", "a\n", false, Texts{"a\n"}},
    {"BracketInsideClassIsPlain", "[[:a]]", "x:]", false, Texts{":]"}},
    {"HyphenAfterShorthandIsPlain", "[\\d-z]+", "a-1z", false, Texts{"-1z"}},
    {"BackspaceInClass", "[\\b]", "a\bb", false, Texts{"\b"}},
    // Quantifiers.
    {"BraceWithoutQuantifierIsPlain", "a{,3}", "a{,3}", false, Texts{"a{,3}"}},
    {"BraceQuantifier", "a{2,3}?", "aaaa", false, Texts{"aa", "aa"}},
    {"EmptyMatchesAdvance", "x*", "abc", false, Texts{"", "", "", ""}},
    {"EmptyMatchThenNonEmpty", "b*", "ab", false, Texts{"", "b", ""}},
    {"AfterAnEmptyMatchTheSearchMovesOn", "|b", "b", false, Texts{"", ""}},
    {"Lookahead", "a(?=b)|c(?!d)", "acdabce", false, Texts{"a", "c"}},
    // Not in the dialect.
    {"InlineFlags", "(?i)a", "a", false, kRefused},
    {"NamedGroup", "(?<n>a)", "a", false, kRefused},
    {"Lookbehind", "(?<=a)b", "ab", false, kRefused},
    {"Verb", "(*FAIL)|a", "a", false, kRefused},
    {"Possessive", "a*+", "aa", false, kRefused},
    {"DoubledQuantifier", "a{2}{3}", "aaaaaa", false, kRefused},
    {"QuantifiedAnchor", "^*a", "a", false, kRefused},
    {"NothingToRepeat", "*a", "a", false, kRefused},
    {"TrailingBackslash", "a\\", "a\\", false, kRefused},
};

INSTANTIATE_TEST_SUITE_P(RegexObject, DialectTable, ::testing::ValuesIn(kDialectCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace varnola
