// UTF-8 <-> UTF-16 at the edge of the platform.
#include <gtest/gtest.h>

#include "utf.h"

using platform::Utf16ToUtf8;
using platform::Utf8ToUtf16;

TEST(Utf, RoundTripsAllPlanes) {
  std::string text = "Mode 2 \xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80";
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text);
  EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80").size(), 2u);
}

TEST(Utf, MalformedInputBecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("\xC3"), u"\uFFFD");          // cut sequence
  EXPECT_EQ(Utf8ToUtf16("\xE0\x80\x80"), u"\uFFFD");  // overlong
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD");  // surrogate
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf8ToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(Utf, CodePointsOfUtf16PairSurrogatesAndLeaveLoneOnesToTheCaller) {
  std::u16string text = u"a\U0001F600";
  text += u'\xDC00';
  text += u'\xD800';
  size_t at = 0;
  EXPECT_EQ(platform::NextCodePoint(text, &at), U'a');
  EXPECT_EQ(platform::NextCodePoint(text, &at), U'\U0001F600');
  EXPECT_EQ(at, 3u);
  EXPECT_EQ(platform::NextCodePoint(text, &at), 0xDC00u);
  EXPECT_EQ(platform::NextCodePoint(text, &at), 0xD800u);  // cut pair at the end
  EXPECT_EQ(at, text.size());

  char16_t units[2];
  ASSERT_EQ(platform::EncodeUtf16(U'\U0010FFFF', units), 2);
  EXPECT_EQ(units[0], 0xDBFF);
  EXPECT_EQ(units[1], 0xDFFF);
  ASSERT_EQ(platform::EncodeUtf16(U'\u20AC', units), 1);
  EXPECT_EQ(units[0], 0x20AC);
}
