#include "http/cookie_text.h"

#include <gtest/gtest.h>

namespace varnola {
namespace {

struct MergeCase {
  const char* cookieText;
  const char* returned;
  const char* merged;
};

TEST(MergeCookiesTest, NewCookiesWinAndDeletionsDrop) {
  const MergeCase cases[] = {
      {"sid=1; lang=zh", "sid=2", "sid=2; lang=zh"},
      {"sid=1; lang=zh", "sid=deleted", "lang=zh"},
      {"a=1", "b=2", "b=2; a=1"},
      {"", "a=1; b=2", "a=1; b=2"},
      {"a=1; b=2", "", "a=1; b=2"},
      {"", "a=1; a=1", "a=1"},
      {"", "a=1; a=2", "a=1; a=2"},
      {"x = 1", "", "x=1"},
      {"a=1;;b=2", "", "a=1; ; b=2"},
      {"sid=1", "Sid=2", "Sid=2; sid=1"},
      {"a=1; a=2", "", "a=1"},
      {";a=1", "", "; a=1"},
  };
  for (const MergeCase& c : cases) {
    std::string cookieText = c.cookieText;
    std::string returned = c.returned;
    EXPECT_EQ(MergeCookies(cookieText, returned), c.merged) << c.cookieText << " + " << c.returned;
    EXPECT_EQ(cookieText, c.merged);
  }
}

TEST(MergeCookiesTest, ReturnedCookiesLoseTheirSpaces) {
  std::string cookieText;
  std::string returned = "a=1; b=2\xA1\xA1";
  MergeCookies(cookieText, returned);
  EXPECT_EQ(returned, "a=1;b=2");
}

TEST(CookieNameTest, TakesTheTrimmedTextBeforeTheFirstEquals) {
  EXPECT_EQ(CookieName(" sid =1=2"), "sid");
  EXPECT_EQ(CookieName(" flag "), "flag");
  EXPECT_EQ(CookieName(""), "");
}

TEST(RemoveDuplicateItemsTest, KeepsFirstOccurrences) {
  EXPECT_EQ(RemoveDuplicateItems("a; b; a; c", "; "), "a; b; c");
  EXPECT_EQ(RemoveDuplicateItems("", "; "), "");
  EXPECT_EQ(RemoveDuplicateItems("a; ", "; "), "a");
}

}  // namespace
}  // namespace varnola
