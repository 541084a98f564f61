// The timer's command line: the full layout, the defaults without a colon,
// and short or odd lines that must keep their missing fields' defaults
// without being read past their end.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "timer/command_line.h"

namespace {

// Parses a copy that ends exactly at its terminator, so that a read past the
// end is caught by the address sanitizer.
TimerCommand Parse(const std::u16string& text) {
  std::unique_ptr<WCHAR[]> exact(new WCHAR[text.size() + 1]);
  for (size_t i = 0; i < text.size(); ++i) exact[i] = text[i];
  exact[text.size()] = 0;
  TimerCommand command;
  ParseTimerCommand(exact.get(), &command);
  return command;
}

void ExpectFields(const std::u16string& text, DWORD back, DWORD target, LONG height, LONG top) {
  SCOPED_TRACE(std::string(text.begin(), text.end()));
  TimerCommand command = Parse(text);
  EXPECT_EQ(command.BackMode, back);
  EXPECT_EQ(command.TargetMode, target);
  EXPECT_EQ(command.BarHeight, height);
  EXPECT_EQ(command.BarTop, top);
}

TEST(TimerCommandLine, TakesTheFourFieldsByTheirPlaces) {
  ExpectFields(u"2:3 24:150", 2, 3, 24, 150);
  ExpectFields(u"5:1 30:2", 5, 1, 30, 2);
  // The height is two characters only, whatever follows them.
  ExpectFields(u"2:3 1234:40", 2, 3, 12, 40);
  ExpectFields(u"4:2 7:88", 4, 2, 7, 88);
}

TEST(TimerCommandLine, UsesTheDefaultsWithoutAColon) {
  ExpectFields(u"", 1, 1, 24, 150);
  ExpectFields(u"AppRunAtTime", 1, 1, 24, 150);
  ExpectFields(u"2 3 24 150", 1, 1, 24, 150);
}

TEST(TimerCommandLine, ShortLinesKeepTheDefaultsOfTheMissingFields) {
  ExpectFields(u":", 1, 1, 24, 150);
  ExpectFields(u"2:", 2, 1, 24, 150);
  ExpectFields(u"2:3", 2, 3, 24, 150);
  ExpectFields(u"2:3 ", 2, 3, 24, 150);
  ExpectFields(u"2:3 2", 2, 3, 2, 150);
  ExpectFields(u"2:3 24", 2, 3, 24, 150);
  ExpectFields(u"2:3 24:", 2, 3, 24, 150);
  ExpectFields(u":3 24:150", 1, 3, 24, 150);
}

TEST(TimerCommandLine, FieldsThatAreThereButHoldNoNumberReadAsZero) {
  ExpectFields(u"x:y ab:cd", 0, 0, 0, 0);
  ExpectFields(u"2:3 24:-5", 2, 3, 24, -5);
}

TEST(TimerCommandLine, ATopFarOffTheScreenIsKeptWithinReach) {
  ExpectFields(u"2:3 24:2147483647", 2, 3, 24, 32767);
  ExpectFields(u"2:3 24:-2147483648", 2, 3, 24, -32767);
  ExpectFields(u"2:3 24:99999999999999", 2, 3, 24, 32767);
}

}  // namespace
