// Timed starts and key events: what phone.db keeps and what the journal shows.
#include <gtest/gtest.h>
#include <notify.h>
#include <windows.h>

#include "../kernel/journal.h"
#include "../testing/device_fixture.h"
#include "../testing/system_time_at.h"
#include "timed_starts.h"

namespace {

using testing_support::SystemTimeAt;

std::vector<std::string> JournalTexts() {
  std::vector<std::string> texts;
  for (const auto& line : platform::JournalRead()) texts.push_back(line.text);
  return texts;
}

}  // namespace

class NotifyTest : public testing_support::DeviceTest {};

TEST_F(NotifyTest, OneRegistrationPerProgramReplacedAndRemoved) {
  SYSTEMTIME first = SystemTimeAt(2005, 3, 1, 7, 0, 5);
  SYSTEMTIME later = SystemTimeAt(2005, 3, 2, 22, 30, 5);
  EXPECT_TRUE(CeRunAppAtTime(u"\\Program files\\Selvane\\Lumist.exe", &first));
  EXPECT_TRUE(CeRunAppAtTime(u"\\Temp\\Other.exe", &later));
  EXPECT_TRUE(CeRunAppAtTime(u"\\PROGRAM FILES\\Selvane/lumist.exe", &later));
  auto starts = platform::TimedStarts();
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_EQ(starts[0].time, "2005-03-02 22:30:05");
  EXPECT_EQ(starts[1].time, "2005-03-02 22:30:05");
  EXPECT_EQ(starts[0].path, "\\PROGRAM FILES\\Selvane/lumist.exe");

  EXPECT_TRUE(CeRunAppAtTime(u"\\Program files\\Selvane\\Lumist.exe", nullptr));
  starts = platform::TimedStarts();
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].path, "\\Temp\\Other.exe");

  std::vector<std::string> expected = {
      "CeRunAppAtTime \"\\Program files\\Selvane\\Lumist.exe\" 2005-03-01 07:00:05",
      "CeRunAppAtTime \"\\Temp\\Other.exe\" 2005-03-02 22:30:05",
      "CeRunAppAtTime \"\\PROGRAM FILES\\Selvane/lumist.exe\" 2005-03-02 22:30:05",
      "CeRunAppAtTime \"\\Program files\\Selvane\\Lumist.exe\" none"};
  EXPECT_EQ(JournalTexts(), expected);
}

TEST_F(NotifyTest, ImpossibleTimesAreRefusedAndKeepTheRegistration) {
  SYSTEMTIME good = SystemTimeAt(2004, 2, 29, 7, 0, 5);
  ASSERT_TRUE(CeRunAppAtTime(u"\\Program files\\Selvane\\Lumist.exe", &good));
  for (SYSTEMTIME bad : {SystemTimeAt(2005, 2, 29, 7, 0, 5), SystemTimeAt(2005, 13, 1, 7, 0, 5), SystemTimeAt(2005, 4, 31, 7, 0, 5),
                         SystemTimeAt(2005, 3, 1, 24, 0, 5), SystemTimeAt(2005, 3, 1, 7, 75, 5)}) {
    EXPECT_FALSE(CeRunAppAtTime(u"\\Program files\\Selvane\\Lumist.exe", &bad));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
  auto starts = platform::TimedStarts();
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].time, "2004-02-29 07:00:05");
  EXPECT_EQ(JournalTexts().back(), "CeRunAppAtTime \"\\Program files\\Selvane\\Lumist.exe\" 2005-03-01 07:75:05 failed");
  EXPECT_FALSE(CeRunAppAtTime(nullptr, &good));
}

TEST_F(NotifyTest, KeyEventsAreJournalled) {
  keybd_event(VK_F24, 0, KEYEVENTF_KEYUP | KEYEVENTF_SILENT, 0);
  keybd_event(0x1B, 7, KEYEVENTF_EXTENDEDKEY, 42);
  std::vector<std::string> expected = {"keybd_event 0x87 0 0x6 0", "keybd_event 0x1B 7 0x1 42"};
  EXPECT_EQ(JournalTexts(), expected);
}
