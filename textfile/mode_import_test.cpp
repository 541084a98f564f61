// The import of a mode text block: what it stores, the fixed values for what
// a file lacks, and files that an editor (or a cut transfer) left broken.
#include <strsafe.h>
#include <string>

#include "platform/text/utf.h"
#include "store/mode_store.h"
#include "textfile/mode_text_test_support.h"

namespace {

using namespace textfile_testing;

class ModeImportTest : public testing_support::DeviceTest {
 protected:
  // An existing mode key with values that no import below writes.
  void SetUp() override {
    DeviceTest::SetUp();
    ModeRecord mode{};
    mode.SystemVolume = 99;
    StringCchCopyW(mode.ModeName, std::size(mode.ModeName), u"Before");
    SaveMode(u"Mode 2", mode);
  }
  ModeRecord Stored() { return LoadMode(u"Mode 2"); }
};

std::u16string Text(const WCHAR* field) { return field; }

// Every field of a mode, as one readable text (padding after a field's
// terminator does not count).
std::string Describe(const ModeRecord& m) {
  std::string out;
  for (DWORD n : {m.SystemVolume, m.PhoneVolume, m.SpeakerVolume, m.RadioState, m.BTState, m.HeadsetState,
                  m.StartHour, m.StartMinutes, m.StopHour, m.StopMinutes, m.ModeBack, m.AutoPickUp, m.NbRingPickUp,
                  m.Sound, m.Days, m.OutlookSwitch, m.OutlookAutoRefresh, m.ModeBusy, m.Status, m.BrightNess,
                  m.ACBrightNess, m.BatteryTimeoutUnchecked, m.BatteryTimeout, m.BacklightOnTap})
    out += std::to_string(n) + " ";
  for (const WCHAR* text : {m.RingMode, m.RingTone, m.SimCode, m.ModeName, m.Category, m.ProgramToRun})
    out += "[" + platform::Utf16ToUtf8(text) + "]";
  return out;
}

TEST_F(ModeImportTest, ExportThenImportReproducesTheMode) {
  ModeRecord mode{};
  mode.SystemVolume = 5;
  mode.PhoneVolume = 2;
  mode.StartHour = 7;
  mode.StopMinutes = 55;
  mode.ModeBack = 3;
  mode.Days = 0x1111111;
  mode.Status = 3;
  mode.BatteryTimeoutUnchecked = 60;
  mode.BatteryTimeout = 0;
  mode.BrightNess = 0xFFFFFFFF;  // exported as -1
  StringCchCopyW(mode.RingMode, std::size(mode.RingMode), u"v3w3v3w3apw3r");
  StringCchCopyW(mode.SimCode, std::size(mode.SimCode), u"1234");
  StringCchCopyW(mode.ModeName, std::size(mode.ModeName), u"Ünïcode ✓");
  StringCchCopyW(mode.Category, std::size(mode.Category), u"Personal");
  StringCchCopyW(mode.ProgramToRun, std::size(mode.ProgramToRun), u"\\a>b.exe");
  SaveMode(u"Mode 2", mode);
  SetNumber(StorePath(u"Mode 2\\Notifications\\Reminders"), u"Options", 0x4000000D);
  SetNumber(StorePath(u"Mode 2\\Notifications\\Reminders"), u"Duration", 15);
  SetText(StorePath(u"Mode 2\\Notifications\\Reminders"), u"Wave", u"alarm2");
  std::string file = ExportToText(u"Mode 2");

  SaveMode(u"Mode 2", ModeRecord{});
  SetNumber(StorePath(u"Mode 2\\Notifications\\Reminders"), u"Options", 0);
  SetText(StorePath(u"Mode 2\\Notifications\\Reminders"), u"Wave", u"");
  ImportFromText(file, u"Mode 2");

  ModeRecord expected = mode;
  expected.SimCode[0] = 0;                                                    // never exported
  StringCchCopyW(expected.ProgramToRun, std::size(expected.ProgramToRun), u"\\a");  // cut at ">"
  EXPECT_EQ(Describe(expected), Describe(Stored()));
  EXPECT_EQ(0x4000000D, GetNumber(StorePath(u"Mode 2\\Notifications\\Reminders"), u"Options"));
  EXPECT_EQ(15, GetNumber(StorePath(u"Mode 2\\Notifications\\Reminders"), u"Duration"));
  EXPECT_EQ(u"alarm2", GetText(StorePath(u"Mode 2\\Notifications\\Reminders"), u"Wave"));
}

TEST_F(ModeImportTest, BlockWithoutValuesStoresTheStartValues) {
  ImportFromText("\t<System Volume : 1>\n<Mode 2>\n<\\Mode 2>\n\t<Phone Volume : 1>\n", u"Mode 2");
  ModeRecord mode = Stored();
  EXPECT_EQ(3u, mode.SystemVolume);  // the line outside the block is not read
  EXPECT_EQ(3u, mode.PhoneVolume);
  EXPECT_EQ(4u, mode.SpeakerVolume);
  EXPECT_EQ(Text(u"af1w60f0"), Text(mode.RingMode));
  EXPECT_EQ(Text(u"BellDitty .wma"), Text(mode.RingTone));
  EXPECT_EQ(1u, mode.RadioState);
  EXPECT_EQ(1u, mode.ModeBack);
  EXPECT_EQ(3u, mode.NbRingPickUp);
  EXPECT_EQ(Text(u"Mode 2"), Text(mode.ModeName));
  EXPECT_EQ(7u, mode.Sound);
  EXPECT_EQ(0u, mode.Days);
  EXPECT_EQ(4u, mode.Status);
  EXPECT_EQ(Text(u"N/A"), Text(mode.Category));
  EXPECT_EQ(8u, mode.BrightNess);
  EXPECT_EQ(10u, mode.ACBrightNess);
  EXPECT_EQ(0u, mode.BatteryTimeoutUnchecked);
  EXPECT_EQ(180u, mode.BatteryTimeout);
  EXPECT_EQ(1u, mode.BacklightOnTap);
}

TEST_F(ModeImportTest, NotFoundLinesStoreTheNotFoundValues) {
  ImportFromText(
      "<Mode 2>\n\t<System Volume not found>\n\t<Ring Mode not found>\n\t<Ring Tone not found>\n"
      "\t<Mode Name : Lost and not found>\n\t<Category not found>\n\t<ACBrightness not found>\n"
      "\t<BatteryTimeout not found>\n\t<Radio State not found>\n\t<Sound not found>\n<\\Mode 2>\n",
      u"Mode 2");
  ModeRecord mode = Stored();
  EXPECT_EQ(0u, mode.SystemVolume);
  EXPECT_EQ(Text(u"ap"), Text(mode.RingMode));
  EXPECT_EQ(Text(u"BellDitty .wma"), Text(mode.RingTone));
  EXPECT_EQ(Text(u""), Text(mode.ModeName));
  EXPECT_EQ(Text(u"Business"), Text(mode.Category));
  EXPECT_EQ(8u, mode.ACBrightNess);
  EXPECT_EQ(120u, mode.BatteryTimeout);
  EXPECT_EQ(1u, mode.RadioState);
  EXPECT_EQ(7u, mode.Sound);
}

TEST_F(ModeImportTest, KeysAreFoundAnywhereAndTheLongerBatteryKeyAlsoSetsTheShorter) {
  ImportFromText("<Mode 2>\n\t<BatteryTimeoutUnchecked : 5>\nx <Days : 17895697> y\n<\\Mode 2>\n", u"Mode 2");
  EXPECT_EQ(5u, Stored().BatteryTimeoutUnchecked);
  EXPECT_EQ(5u, Stored().BatteryTimeout);
  EXPECT_EQ(0x1111111u, Stored().Days);
  ImportFromText("<Mode 2>\n\t<BatteryTimeout : 60>\n\t<BatteryTimeoutUnchecked : 5>\n<\\Mode 2>\n", u"Mode 2");
  EXPECT_EQ(5u, Stored().BatteryTimeout);  // the later line wins
}

TEST_F(ModeImportTest, BlockOfAnotherModeOrWithoutItsEndSavesNoValues) {
  ModeRecord other{};
  other.SystemVolume = 42;
  SaveMode(u"Mode 3", other);
  const std::string block =
      "<Mode 2>\n\t<System Volume : 1>\n\t<Notification : Alarms>\n\t\t<Options : 2>\n\t\t<Duration : 5>\n"
      "\t\t<Wave : alarm3>\n";
  ImportFromText(block + "<\\Mode 2>\n", u"Mode 3");
  EXPECT_EQ(42u, LoadMode(u"Mode 3").SystemVolume);
  EXPECT_FALSE(KeyExists(StorePath(u"Mode 3\\Notifications\\Alarms")));

  // Cut before its end line: the values are dropped, the entries kept.
  ImportFromText(block, u"Mode 2");
  EXPECT_EQ(99u, Stored().SystemVolume);
  EXPECT_EQ(0x40000002, GetNumber(StorePath(u"Mode 2\\Notifications\\Alarms"), u"Options"));
  EXPECT_EQ(u"alarm3", GetText(StorePath(u"Mode 2\\Notifications\\Alarms"), u"Wave"));
}

TEST_F(ModeImportTest, EntryOptionsGetTheirFlagAndSignedNumbersStayAsTheyAre) {
  ImportFromText(
      "<Mode 2>\n\t<Notification : A>\n\t\t<Options : 9>\n\t\t<Duration : -1>\n\t\t<Wave : x>\n"
      "\t<Notification : B>\n\t\t<Options : -1073741823>\n\t\t<Duration : 4294967295>\n\t\t<Wave : y>\n"
      "<\\Mode 2>\n\t<Notification : Outside>\n\t\t<Options : 1>\n\t\t<Duration : 1>\n\t\t<Wave : z>\n",
      u"Mode 2");
  EXPECT_EQ(1073741833, GetNumber(StorePath(u"Mode 2\\Notifications\\A"), u"Options"));
  EXPECT_EQ(0xFFFFFFFF, GetNumber(StorePath(u"Mode 2\\Notifications\\A"), u"Duration"));
  EXPECT_EQ(0xC0000001, GetNumber(StorePath(u"Mode 2\\Notifications\\B"), u"Options"));
  EXPECT_EQ(0xFFFFFFFF, GetNumber(StorePath(u"Mode 2\\Notifications\\B"), u"Duration"));
  EXPECT_FALSE(KeyExists(StorePath(u"Mode 2\\Notifications\\Outside")));

  // A number too large for 32 bits reads as 0; lines that the cut file lacks
  // read as empty lines.
  ImportFromText("<Mode 2>\n\t<Notification : C>\n\t\t<Options : 99999999999>\n", u"Mode 2");
  EXPECT_EQ(0x40000000, GetNumber(StorePath(u"Mode 2\\Notifications\\C"), u"Options"));
  EXPECT_EQ(0, GetNumber(StorePath(u"Mode 2\\Notifications\\C"), u"Duration"));
  EXPECT_EQ(u"", GetText(StorePath(u"Mode 2\\Notifications\\C"), u"Wave"));
}

TEST_F(ModeImportTest, BrokenFilesStayInsideTheFields) {
  std::string file = "<Mode 2>\n\t<Ring Mode : " + std::string(60, 'r') + ">\n\t<Mode Name : " +
                     std::string(400, 'n') + "\n" +
                     // ":" as the last unit that a 150-unit read holds
                     "\t<Category" + std::string(138, ' ') + ":Work>\n" +
                     "\t<Ring Tone : a\xff\xfe\x80z>\n\t<ProgramToRun : p" + std::string(1, '\0') + "q>\n" +
                     "\t<Notification : >\n\t\t<Options : 1>\n\t\t<Duration : 1>\n\t\t<Wave : w>\n"
                     "\t<Notification : a\\b>\n\t\t<Options : 1>\n\t\t<Duration : 1>\n\t\t<Wave : w>\n"
                     "\t<Sound : 12>\n<\\Mode 2>";  // no line end after the last line
  ImportFromText(file, u"Mode 2");
  ModeRecord mode = Stored();
  EXPECT_EQ(std::u16string(24, u'r'), Text(mode.RingMode));
  // The 400-character line reads as 149-unit pieces; the first holds the name.
  EXPECT_EQ(std::u16string(49, u'n'), Text(mode.ModeName));
  EXPECT_EQ(Text(u""), Text(mode.Category));
  EXPECT_EQ(Text(u"a\uFFFD\uFFFD\uFFFDz"), Text(mode.RingTone));
  EXPECT_EQ(Text(u"p"), Text(mode.ProgramToRun));
  EXPECT_EQ(12u, mode.Sound);
  // Entries that could not be a subkey of their own are not stored.
  EXPECT_EQ(-1, GetNumber(StorePath(u"Mode 2\\Notifications"), u"Options"));
  EXPECT_FALSE(KeyExists(StorePath(u"Mode 2\\Notifications\\a")));
}

}  // namespace

// The caller rules are no part of a mode text file: the export does not
// write them and the import leaves them as they are.
TEST_F(ModeImportTest, ExportAndImportLeaveTheCallerRulesAlone) {
  SetText(StorePath(u"Mode 2"), u"AllowCategory", u"Family");
  SetNumber(StorePath(u"Mode 2"), u"AllowVolume", 4);
  SetNumber(StorePath(u"Mode 2"), u"RepeatCalls", 1);
  const std::string exported = ExportToText(u"Mode 2");
  EXPECT_EQ(exported.find("Allow"), std::string::npos);
  EXPECT_EQ(exported.find("Repeat"), std::string::npos);
  ImportFromText(exported, u"Mode 2");
  ImportFromText("<Mode 2>\n<Mode Name : Other>\n<\\Mode 2>\n", u"Mode 2");
  EXPECT_EQ(GetText(StorePath(u"Mode 2"), u"AllowCategory"), u"Family");
  EXPECT_EQ(GetNumber(StorePath(u"Mode 2"), u"AllowVolume"), 4);
  EXPECT_EQ(GetNumber(StorePath(u"Mode 2"), u"RepeatCalls"), 1);
  EXPECT_EQ(Text(Stored().ModeName), u"Other");
}
