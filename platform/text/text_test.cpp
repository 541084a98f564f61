// The runtime text routines against their Windows CE behaviour: formatting,
// conversion, search, case and bounded copies.
#include <windows.h>
#include <strsafe.h>
#include <emulated_limits.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::u16string Format(const WCHAR* format, ...) {
  WCHAR buffer[WSPRINTF_MAX_OUTPUT];
  va_list args;
  va_start(args, format);
  int length = wvsprintfW(buffer, format, args);
  va_end(args);
  EXPECT_EQ(static_cast<size_t>(length), wcslen(buffer));
  return buffer;
}

TEST(Wsprintf, FormatsEachConversionWithWidthAndPadding) {
  EXPECT_EQ(Format(u"%s\\Mode %d", u"\\Program files\\Selvane", 3), u"\\Program files\\Selvane\\Mode 3");
  EXPECT_EQ(Format(u"%d %i %u", -42, 7, 4000000000u), u"-42 7 4000000000");
  EXPECT_EQ(Format(u"%x %X %08X %#x", 255, 255, 0xFFFFu, 26), u"ff FF 0000FFFF 0x1a");
  EXPECT_EQ(Format(u"[%5d][%-5d][%05d][%03d]", 42, 42, -42, 1234), u"[   42][42   ][-0042][1234]");
  EXPECT_EQ(Format(u"%c%c%%%s", u'o', u'k', u"!"), u"ok%!");
  EXPECT_EQ(Format(u"[%6s][%-6s][%.3s]", u"ab", u"ab", u"abcdef"), u"[    ab][ab    ][abc]");
  EXPECT_EQ(Format(u"%ld %lu %hs", -1, 1u, "narrow"), u"-1 1 narrow");
  EXPECT_EQ(Format(u"%s", static_cast<const WCHAR*>(nullptr)), u"(null)");
  EXPECT_EQ(Format(u"%d", INT32_MIN), u"-2147483648");
  EXPECT_EQ(Format(u"100%"), u"100");
}

TEST(Wsprintf, NeverWritesMoreThan1024UnitsWithTheTerminator) {
  std::u16string big(3000, u'x');
  std::vector<WCHAR> buffer(WSPRINTF_MAX_OUTPUT + 16, u'#');
  int length = wsprintfW(buffer.data(), u"%s%s", big.c_str(), u"tail");
  EXPECT_EQ(length, WSPRINTF_MAX_OUTPUT - 1);
  EXPECT_EQ(buffer[WSPRINTF_MAX_OUTPUT - 1], u'\0');
  EXPECT_EQ(buffer[WSPRINTF_MAX_OUTPUT], u'#');
  length = wsprintfW(buffer.data(), u"%2000d", 5);
  EXPECT_EQ(length, WSPRINTF_MAX_OUTPUT - 1);
  EXPECT_EQ(buffer[WSPRINTF_MAX_OUTPUT], u'#');
}

TEST(Wtol, ReadsLeadingDecimalDigitsOnly) {
  EXPECT_EQ(_wtol(u"42"), 42);
  EXPECT_EQ(_wtol(u"  \t-17abc"), -17);
  EXPECT_EQ(_wtol(u"+8"), 8);
  EXPECT_EQ(_wtol(u"12:30"), 12);
  EXPECT_EQ(_wtol(u"x1"), 0);
  EXPECT_EQ(_wtol(u""), 0);
  EXPECT_EQ(_wtol(u"- 5"), 0);
  EXPECT_EQ(_wtol(u"99999999999999999999"), INT32_MAX);
  EXPECT_EQ(_wtol(u"-2147483648"), INT32_MIN);
  EXPECT_EQ(_wtol(u"-99999999999"), INT32_MIN);
}

TEST(WideSearch, FindsTextsAndCharactersIncludingTheTerminator) {
  const WCHAR* path = u"\\windows\\rings\\tone.mid";
  EXPECT_EQ(wcsstr(path, u"rings"), path + 9);
  EXPECT_EQ(wcsstr(path, u""), path);
  EXPECT_EQ(wcsstr(path, u"Rings"), nullptr);
  EXPECT_EQ(wcschr(path, u'\\'), path);
  EXPECT_EQ(wcsrchr(path, u'\\'), path + 14);
  EXPECT_EQ(wcschr(path, u'\0'), path + wcslen(path));
  EXPECT_EQ(wcschr(path, u'z'), nullptr);
  EXPECT_EQ(wcsrchr(path, u'z'), nullptr);
  EXPECT_LT(wcscmp(u"Mode 1", u"Mode 2"), 0);
  EXPECT_EQ(wcsncmp(u"Mode 1x", u"Mode 1y", 6), 0);
  EXPECT_GT(wcscmp(u"ab", u"a"), 0);
}

TEST(WideCase, ComparesAndLowersWithoutRegardToCase) {
  EXPECT_EQ(_wcsicmp(u"BellDitty .WMA", u"bellditty .wma"), 0);
  EXPECT_LT(_wcsicmp(u"alpha", u"BETA"), 0);
  EXPECT_GT(_wcsicmp(u"alphabet", u"ALPHA"), 0);
  EXPECT_EQ(_wcsnicmp(u"MODE 1", u"mode 2", 5), 0);
  WCHAR name[] = u"Alarm1.WAV \u00C9T\u00C9";
  EXPECT_EQ(_wcslwr(name), name);
  EXPECT_EQ(std::u16string(name), u"alarm1.wav \u00E9t\u00E9");
}

TEST(WideCopy, CopiesAreBoundedAsDocumented) {
  WCHAR field[5];
  EXPECT_EQ(StringCchCopyW(field, 5, u"1234"), S_OK);
  EXPECT_EQ(std::u16string(field), u"1234");
  EXPECT_EQ(StringCchCopyW(field, 5, u"123456"), STRSAFE_E_INSUFFICIENT_BUFFER);
  EXPECT_EQ(std::u16string(field), u"1234");
  EXPECT_EQ(StringCchCopyNW(field, 5, u"abcdef", 2), S_OK);
  EXPECT_EQ(std::u16string(field), u"ab");
  EXPECT_EQ(StringCchCatW(field, 5, u"cdef"), STRSAFE_E_INSUFFICIENT_BUFFER);
  EXPECT_EQ(std::u16string(field), u"abcd");

  // wcsncpy pads with zeros, and leaves a source that fills the count unterminated.
  WCHAR padded[6] = {u'#', u'#', u'#', u'#', u'#', u'#'};
  wcsncpy(padded, u"ab", 5);
  EXPECT_EQ(padded[2], u'\0');
  EXPECT_EQ(padded[4], u'\0');
  EXPECT_EQ(padded[5], u'#');
  wcsncpy(padded, u"abcdefgh", 5);
  EXPECT_EQ(padded[4], u'e');
  EXPECT_EQ(padded[5], u'#');

  WCHAR* copy = _wcsdup(u"Night");
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(std::u16string(copy), u"Night");
  free(copy);
}

}  // namespace
