// UTF-8 <-> UTF-16 at the edge of the platform.
#include <gtest/gtest.h>

#include "wintext_utf.h"

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
