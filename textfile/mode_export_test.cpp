// The export of a stored mode: every line of the file, the not-found lines,
// and the limits on what is read.
#include <string>

#include "store/mode_store.h"
#include "textfile/mode_text_test_support.h"

namespace {

using namespace textfile_testing;

class ModeExportTest : public testing_support::DeviceTest {};

// A mode with a value in every field.
ModeRecord NightMode() {
  return ModeRecord{
      .SystemVolume = 5, .PhoneVolume = 4, .SpeakerVolume = 2,
      .RingMode = u"av0pw3r", .RingTone = u"BellDitty .wma",
      .RadioState = 1, .BTState = 2, .HeadsetState = 1,
      .StartHour = 22, .StartMinutes = 30, .StopHour = 6, .StopMinutes = 45,
      .ModeBack = 4, .AutoPickUp = 1, .NbRingPickUp = 5,
      .SimCode = u"1234", .ModeName = u"Night", .Sound = 3, .Days = 0x1010101,
      .OutlookSwitch = 1, .OutlookAutoRefresh = 1, .ModeBusy = 3, .Status = 2,
      .Category = u"Business", .ProgramToRun = u"\\Windows\\calc.exe",
      .BrightNess = 7, .ACBrightNess = 9,
      .BatteryTimeoutUnchecked = 0, .BatteryTimeout = 120, .BacklightOnTap = 0};
}

TEST_F(ModeExportTest, ModeWithOneEntryGivesThirtySevenLines) {
  SaveMode(u"Mode 2", NightMode());
  const std::u16string entry = StorePath(u"Mode 2\\Notifications\\Reminders");
  SetNumber(entry, u"Options", 0xC0000001);  // printed signed
  SetNumber(entry, u"Duration", 10);
  SetText(entry, u"Wave", u"alarm1");

  EXPECT_EQ(
      "<Mode 2>\n"
      "\t<System Volume : 5>\n\t<Phone Volume : 4>\n\t<Speaker Volume : 2>\n"
      "\t<Ring Mode : av0pw3r>\n\t<Ring Tone : BellDitty .wma>\n"
      "\t<Radio State : 1>\n\t<BT State : 2>\n\t<Headset State : 1>\n"
      "\t<StartHour : 22>\n\t<StartMinutes : 30>\n\t<StopHour : 6>\n\t<StopMinutes : 45>\n"
      "\t<ModeBack : 4>\n\t<AutoPickUp : 1>\n\t<NbRingPickUp : 5>\n"
      "\t<Sim Code : >\n\t<Mode Name : Night>\n\t<Sound : 3>\n\t<Days : 16843009>\n"
      "\t<OutlookSwitch : 1>\n\t<OutlookAutoRefresh : 1>\n\t<ModeBusy : 3>\n\t<Status : 2>\n"
      "\t<Category : Business>\n\t<ProgramToRun : \\Windows\\calc.exe>\n"
      "\t<Brightness : 7>\n\t<ACBrightness : 9>\n"
      "\t<BatteryTimeoutUnchecked : 0>\n\t<BatteryTimeout : 120>\n\t<BacklightOnTap : 0>\n"
      "\t<Notification : Reminders>\n\t\t<Options : -1073741823>\n\t\t<Duration : 10>\n\t\t<Wave : alarm1>\n"
      "<\\Mode 2>\n\n",
      ExportToText(u"Mode 2"));
}

TEST_F(ModeExportTest, UnreadableValuesGiveNotFoundLines) {
  const std::u16string mode = StorePath(u"Mode 3");
  SetNumber(mode, u"System Volume", 1);
  SetText(mode, u"Ring Mode", std::u16string(35, u'a'));      // 72 bytes: over the 70 read
  SetText(mode, u"ProgramToRun", std::u16string(100, u'p'));  // 202 bytes: over the 200 read
  SetText(mode, u"Mode Name", std::u16string(74, u'n'));      // 150 bytes: just readable
  std::string text = ExportToText(u"Mode 3");

  EXPECT_NE(std::string::npos, text.find("\t<System Volume : 1>\n\t<Phone Volume not found>\n"));
  EXPECT_NE(std::string::npos, text.find("\t<Ring Mode not found>\n"));
  EXPECT_NE(std::string::npos, text.find("\t<ProgramToRun not found>\n"));
  EXPECT_NE(std::string::npos, text.find("\t<Mode Name : " + std::string(74, 'n') + ">\n"));
  EXPECT_NE(std::string::npos, text.find("\t<Sim Code not found>\n"));
  EXPECT_NE(std::string::npos, text.find("\t<BacklightOnTap not found>\n\t<Notifications keys not found>\n<\\Mode 3>\n\n"));

  // Without the mode key only the block's frame is written.
  EXPECT_EQ("<Mode 4>\n\t<Notifications keys not found>\n<\\Mode 4>\n\n", ExportToText(u"Mode 4"));
}

TEST_F(ModeExportTest, ExportsTheFirstTwentyFiveEntriesWithUnreadableValuesAsZero) {
  SaveMode(u"Mode 1", NightMode());
  for (int i = 0; i < 30; i++) {
    std::u16string name = u"Event " + std::u16string(1, u'A' + i / 10) + std::u16string(1, u'0' + i % 10);
    SetNumber(StorePath(u"Mode 1\\Notifications\\" + name), u"Duration", i);
  }
  SetText(StorePath(u"Mode 1\\Notifications\\Event A0"), u"Wave", std::u16string(50, u'w'));  // 102 bytes
  std::string text = ExportToText(u"Mode 1");

  EXPECT_NE(std::string::npos,
            text.find("\t<Notification : Event A0>\n\t\t<Options : 0>\n\t\t<Duration : 0>\n\t\t<Wave : >\n"));
  EXPECT_NE(std::string::npos, text.find("\t<Notification : Event C4>\n\t\t<Options : 0>\n\t\t<Duration : 24>\n"));
  EXPECT_EQ(std::string::npos, text.find("Event C5"));
  size_t lines = 0;
  for (char c : text) lines += c == '\n';
  EXPECT_EQ(1u + 30 + 25 * 4 + 2, lines);
}

}  // namespace
