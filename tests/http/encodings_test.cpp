#include "http/encodings.h"

#include <gtest/gtest.h>

namespace varnola {
namespace {

TEST(UrlDecodeTest, ResolvesEscapesAndKeepsEverythingElse) {
  const std::pair<const char*, const char*> cases[] = {
      {"a%20b", "a b"},
      {"a+b", "a+b"},
      {"%4a%4A", "JJ"},
      {"a%00b", "ab"},
      {"", ""},
      {"width:100%", "width:100%"},
      {"100%;\">", "100%;\">"},
      {"%zz", "%zz"},
      {"%4", "%4"},
      {"%%41", "%A"},
      {"50%off", "50%off"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(UrlDecode(in), out) << in;
}

TEST(UrlDecodeTest, ToLocalConvertsUtf8ToGb18030) {
  EXPECT_EQ(UrlDecode("%E4%B8%AD", true), "\xD6\xD0");
  EXPECT_EQ(UrlDecode("<p>\xE4\xB8\xAD</p>", true), "<p>\xD6\xD0</p>");
  EXPECT_EQ(UrlDecode("plain ascii", true), "plain ascii");
}

TEST(EncodingsTest, CharactersOutsideCodePage936SurviveTheRoundTrip) {
  // ¥, 䶮 (U+4DAE), 𠮷 (U+20BB7) and an emoji: 936 has none of them.
  const std::string utf8 = "\xC2\xA5 \xE4\xB6\xAE \xF0\xA0\xAE\xB7 \xF0\x9F\x98\x80";
  const std::string local = Utf8ToLocal(utf8);
  EXPECT_EQ(local.find('?'), std::string::npos);
  EXPECT_EQ(LocalToUtf8(local), utf8);
  EXPECT_EQ(FromWideText(ToWideText(local, kCodePageLocal), kCodePageLocal), local);
  EXPECT_EQ(FromWideText(ToWideText(utf8), kCodePageUtf8), utf8);
}

TEST(EncodingsTest, CodePage936CharactersKeepTheirBytes) {
  EXPECT_EQ(Utf8ToLocal("\xE6\x94\xB6\xE8\xB4\xA7\xE4\xBA\xBA"), "\xCA\xD5\xBB\xF5\xC8\xCB");
  EXPECT_EQ(Utf8ToLocal("\xE3\x80\x80"), "\xA1\xA1");  // ideographic space
}

TEST(EncodingsTest, InvalidInputBecomesQuestionMarks) {
  EXPECT_EQ(Utf8ToLocal("a\xFF" "b"), "a?b");
  EXPECT_EQ(Utf8ToLocal("a\xE4\xB8"), "a??");
  EXPECT_EQ(FromWideText(std::u16string(u"a") + char16_t(0xD800) + u"b"), "a?b");
}

TEST(EncodingsTest, WideTextCountsUtf16Units) {
  EXPECT_EQ(ToWideText("\xD6\xD0" "a", kCodePageLocal), u"\u4E2Da");
  EXPECT_EQ(ToWideText("\xF0\xA0\xAE\xB7").size(), 2u);  // a surrogate pair
  EXPECT_EQ(ToWideText(""), u"");
}

TEST(EncodingsTest, ValidUtf8IsRecognised) {
  EXPECT_TRUE(IsValidUtf8("abc \xE4\xB8\xAD \xF0\x9F\x98\x80"));
  EXPECT_FALSE(IsValidUtf8("\xD6\xD0"));        // GBK bytes
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));        // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));    // surrogate
  EXPECT_FALSE(IsValidUtf8("\xE4\xB8"));        // cut short
}

}  // namespace
}  // namespace varnola
