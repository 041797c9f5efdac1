#include <gtest/gtest.h>

#include "backend/html_text.h"
#include "backend/progress.h"
#include "backend/query_encoding.h"
#include "support/local_literal.h"

namespace varnola {
namespace {

using test::L;

TEST(DecodeHtmlEntitiesTest, ResolvesWhatTheBackEndEscapes) {
  const std::pair<std::string, std::string> cases[] = {
      {"A&amp;B", "A&B"},
      {"&lt;td&gt;", "<td>"},
      {"&quot;x&quot; &#39;y&#39; &apos;z&apos;", "\"x\" 'y' 'z'"},
      {"&#20013;&#x4E2D;&#X4e2d;", L("中中中")},
      {"&#x20BB7;", L("𠮷")},
      {"AT&T & co; &unknown; &#xD800; &#0; &#", "AT&T & co; &unknown; &#xD800; &#0; &#"},
      {"&amp;amp;", "&amp;"},
      {L("收货人&amp;张三"), L("收货人&张三")},
      {"", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(DecodeHtmlEntities(in), out) << in;
}

TEST(EncodeQueryValueTest, KeepsUnreservedAndEncodesTheRestAsUtf8) {
  EXPECT_EQ(EncodeQueryValue("1234567890"), "1234567890");
  EXPECT_EQ(EncodeQueryValue("a&b=c d"), "a%26b%3Dc%20d");
  EXPECT_EQ(EncodeQueryValue("a b+c", true), "a+b%2Bc");
  EXPECT_EQ(EncodeQueryValue("-._~%"), "-._~%25");
  EXPECT_EQ(EncodeQueryValue(L("中")), "%E4%B8%AD");
  EXPECT_EQ(EncodeQueryBytes("{\"x\":1}"), "%7B%22x%22%3A1%7D");
}

TEST(ProgressPercentTest, TruncatesTheDoubleProduct) {
  EXPECT_EQ(ProgressPercent(29, 100), 28);
  EXPECT_EQ(ProgressPercent(1, 3), 33);
  EXPECT_EQ(ProgressPercent(2, 3), 66);
  EXPECT_EQ(ProgressPercent(3, 3), 100);
  EXPECT_EQ(ProgressPercent(1, 4), 25);
  EXPECT_EQ(ProgressPercent(5, 2), 100);
  EXPECT_EQ(ProgressPercent(1, 0), 100);
}

}  // namespace
}  // namespace varnola
