// The settings program's commands that reach beyond the dialog: Reset,
// Export and Import of the mode's text file, Explore and Run for its program,
// and the button that plays the selected notification sound.
#include <algorithm>

#include "platform/files/files.h"
#include "settings/resource.h"
#include "tests/settings_support.h"

namespace settings_test {
namespace {

// Steps from page 1 to the program page (8) and to the notification page (3).
const std::vector<std::string> kToProgramPage = {"click 1027", "click 1027"};
const std::vector<std::string> kToNotificationPage = {"click 1028", "click 1028"};

const char16_t kAlarms[] = u"Alarms";

std::vector<std::string> Script(std::vector<std::string> first, const std::vector<std::string>& then) {
  first.insert(first.end(), then.begin(), then.end());
  return first;
}

// The journal lines of the settings program that start a program or a shortcut.
std::vector<std::string> Starts() {
  std::vector<std::string> starts;
  for (const std::string& line : SettingsJournal())
    if (line.rfind("CreateProcessW ", 0) == 0 || line.rfind("ShellExecuteEx ", 0) == 0) starts.push_back(line);
  return starts;
}

class SettingsFileCommandsTest : public SettingsTest {
 protected:
  // The text file that Export writes for the mode, as the host sees it.
  std::filesystem::path ModeFile(int mode) {
    std::u16string path = u"\\Program files\\Selvane\\SelvaneMode" + platform::Utf8ToUtf16(std::to_string(mode)) + u".txt";
    return platform::ResolveDevicePath(path).value_or(std::filesystem::path());
  }
  std::string ModeFileText(int mode) {
    std::filesystem::path file = ModeFile(mode);
    return std::filesystem::exists(file) ? testing_support::ReadFile(file) : std::string();
  }
};

TEST_F(SettingsFileCommandsTest, ResetGivesTheFactoryModeAndKeepsEachEntrysSound) {
  OpenOnMode(2);
  SetModeText(2, u"Mode Name", u"Weekend");
  SetModeDword(2, u"System Volume", 1);
  SetModeText(2, u"Ring Mode", u"apw3r");
  SetModeDword(2, u"StartHour", 7);
  SetModeText(2, u"Sim Code", u"4321");
  SetDword(HKEY_LOCAL_MACHINE, EntryKey(2, kAlarms), u"Options", 0x40000013);
  SetDword(HKEY_LOCAL_MACHINE, EntryKey(2, kAlarms), u"Duration", 55);
  SetText(HKEY_LOCAL_MACHINE, EntryKey(2, kAlarms), u"Wave", u"exclam");

  // An edit made before Reset is dropped, not saved over the factory mode.
  SettingsRun run = RunSettings({"type 1004 Edited", "click 1049", "dump", "click 1054", "dump"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;

  EXPECT_EQ(ModeText(2, u"Mode Name"), "Night");
  EXPECT_EQ(ModeDword(2, u"System Volume"), 3u);
  EXPECT_EQ(ModeText(2, u"Ring Mode"), "av0pw3r");
  EXPECT_EQ(ModeDword(2, u"StartHour"), 0u);
  EXPECT_EQ(ModeDword(2, u"BrightNess"), 7u);
  EXPECT_EQ(ModeText(2, u"Sim Code"), "");
  EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, EntryKey(2, kAlarms), u"Options"), 0x40000004u);
  EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, EntryKey(2, kAlarms), u"Duration"), 10u);
  EXPECT_EQ(GetText(HKEY_LOCAL_MACHINE, EntryKey(2, kAlarms), u"Wave"), "exclam");

  EXPECT_EQ(Text(run.dumps[0], IDC_MODE_NAME), "Night");
  EXPECT_EQ(Position(run.dumps[0], IDC_SYSTEM_VOLUME), 3);
  // Nothing is left unsaved: the mode arrow goes straight to mode 3.
  EXPECT_FALSE(Visible(run.dumps[1], IDC_QUESTION));
  EXPECT_EQ(Text(run.dumps[1], IDC_MODE_NAME), "Office");
}

TEST_F(SettingsFileCommandsTest, ExportWritesTheModesFileWithoutItsSimCode) {
  OpenOnMode(3);
  SetModeText(3, u"Sim Code", u"4321");
  SetModeText(3, u"ProgramToRun", u"\\windows\\calc.exe");
  SettingsRun run = RunSettings({"click 1081"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;

  std::string text = ModeFileText(3);
  EXPECT_EQ(text.rfind("<Mode 3>\n\t<System Volume : 3>\n", 0), 0u) << text;
  EXPECT_NE(text.find("\n\t<Mode Name : Office>\n"), std::string::npos);
  EXPECT_NE(text.find("\n\t<Sim Code : >\n"), std::string::npos);
  EXPECT_EQ(text.find("4321"), std::string::npos);
  EXPECT_NE(text.find("\n\t<ProgramToRun : \\windows\\calc.exe>\n"), std::string::npos);
  EXPECT_NE(text.find("\n\t<Notification : Alarms>\n\t\t<Options : 1073741829>\n\t\t<Duration : 10>\n"),
            std::string::npos);
  ASSERT_GE(text.size(), 12u);
  EXPECT_EQ(text.substr(text.size() - 12), "\n<\\Mode 3>\n\n");
  EXPECT_TRUE(ModeFileText(2).empty());
}

TEST_F(SettingsFileCommandsTest, ExportSavesAnEditedModeFirstAndReplacesTheOldFile) {
  OpenOnMode(4);
  SettingsRun first = RunSettings({"click 1081"});
  ASSERT_EQ(first.result.status, 0) << first.result.err;
  ASSERT_NE(ModeFileText(4).find("<Mode Name : Home>"), std::string::npos);

  SettingsRun second = RunSettings({"type 1004 Garden", "click 1081"});
  ASSERT_EQ(second.result.status, 0) << second.result.err;
  std::string text = ModeFileText(4);
  EXPECT_EQ(ModeText(4, u"Mode Name"), "Garden");
  EXPECT_NE(text.find("<Mode Name : Garden>"), std::string::npos);
  EXPECT_EQ(text.find("Home"), std::string::npos);
  // One block: its two marker lines, 30 values, four lines for each of the
  // 19 entries and the empty line.
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2 + 30 + 4 * 19 + 1);
  EXPECT_EQ(text.find("<Mode 4>", 1), std::string::npos);
}

TEST_F(SettingsFileCommandsTest, ImportPutsBackTheExportedModeAndShowsIt) {
  OpenOnMode(3);
  SetModeText(3, u"Mode Name", u"Meeting");
  SetModeDword(3, u"Phone Volume", 1);
  SetModeText(3, u"Category", u"Business");
  SetModeText(3, u"Sim Code", u"4321");
  SetText(HKEY_LOCAL_MACHINE, EntryKey(3, kAlarms), u"Wave", u"beam");
  SettingsRun exported = RunSettings({"click 1081"});
  ASSERT_EQ(exported.result.status, 0) << exported.result.err;

  SetModeText(3, u"Mode Name", u"Changed");
  SetModeDword(3, u"Phone Volume", 5);
  SetModeText(3, u"Category", u"Holiday");
  SetText(HKEY_LOCAL_MACHINE, EntryKey(3, kAlarms), u"Wave", u"ring");
  SetDword(HKEY_LOCAL_MACHINE, EntryKey(3, kAlarms), u"Duration", 40);
  SettingsRun imported = RunSettings({"click 1080", "dump", "click 1054", "dump"});
  ASSERT_EQ(imported.result.status, 0) << imported.result.err;

  EXPECT_EQ(ModeText(3, u"Mode Name"), "Meeting");
  EXPECT_EQ(ModeDword(3, u"Phone Volume"), 1u);
  EXPECT_EQ(ModeText(3, u"Category"), "Business");
  EXPECT_EQ(ModeText(3, u"Sim Code"), "");  // the file never holds it
  EXPECT_EQ(GetText(HKEY_LOCAL_MACHINE, EntryKey(3, kAlarms), u"Wave"), "beam");
  EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, EntryKey(3, kAlarms), u"Duration"), 10u);
  EXPECT_EQ(Text(imported.dumps[0], IDC_MODE_NAME), "Meeting");
  EXPECT_EQ(Position(imported.dumps[0], IDC_PHONE_VOLUME), 1);
  EXPECT_FALSE(Visible(imported.dumps[1], IDC_QUESTION));
  EXPECT_EQ(Text(imported.dumps[1], IDC_MODE_NAME), "Home");
}

TEST_F(SettingsFileCommandsTest, ImportWithoutAFileShowsTheStoredModeAgain) {
  OpenOnMode(5);
  ASSERT_TRUE(ModeFileText(5).empty());
  // Another mode's file is not read for this one.
  platform::WriteDeviceFile(u"\\Program files\\Selvane\\SelvaneMode4.txt",
                            "<Mode 5>\n\t<Mode Name : Wrong>\n<\\Mode 5>\n\n");
  SettingsRun run = RunSettings({"type 1004 Unsaved", "slide 1006 1", "click 1080", "dump", "click 1055", "dump"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;

  EXPECT_EQ(Text(run.dumps[0], IDC_MODE_NAME), "Car");
  EXPECT_EQ(Position(run.dumps[0], IDC_SYSTEM_VOLUME), 5);
  EXPECT_EQ(ModeText(5, u"Mode Name"), "Car");
  EXPECT_EQ(ModeDword(5, u"System Volume"), 5u);
  EXPECT_FALSE(Visible(run.dumps[1], IDC_QUESTION));
  EXPECT_EQ(Text(run.dumps[1], IDC_MODE_NAME), "Home");
}

TEST_F(SettingsFileCommandsTest, ExploreFillsTheProgramFieldAndCancelEmptiesIt) {
  OpenOnMode(1);
  SettingsRun run = RunSettings(Script(kToProgramPage, {"click 1117", "dump", "type 1152 \\windows\\calc.exe",
                                                        "click 1", "dump", "click 1117", "click 2", "dump"}));
  ASSERT_EQ(run.result.status, 0) << run.result.err;

  bool shown = false;
  for (const json& window : run.dumps[0]["windows"]) shown |= window.value("title", "") == "Executable files";
  EXPECT_TRUE(shown);
  EXPECT_EQ(Text(run.dumps[1], IDC_PROGRAM), "\\windows\\calc.exe");
  EXPECT_EQ(Text(run.dumps[2], IDC_PROGRAM), "");
}

TEST_F(SettingsFileCommandsTest, RunStartsProgramsAndShortcutsWrittenInLowerCaseOnly) {
  OpenOnMode(1);
  platform::WriteDeviceFile(u"\\windows\\start menu\\Keep awake.lnk", "36#\"\\Program files\\Selvane\\Lumist.exe\"");

  auto runProgram = [&](const std::string& path) {
    platform::JournalClear();
    SettingsRun run = RunSettings(Script(kToProgramPage, {"type 1118 " + path, "click 1123"}));
    EXPECT_EQ(run.result.status, 0) << run.result.err;
    return Starts();
  };

  EXPECT_EQ(runProgram("\\Program files\\Selvane\\Lumist.exe"),
            std::vector<std::string>{"CreateProcessW \"\\Program files\\Selvane\\Lumist.exe\" \"\""});
  // The started program ran: the wake keeper's key presses are in the journal.
  bool keptAwake = false;
  for (const auto& line : platform::JournalRead()) keptAwake |= line.program == "Lumist";
  EXPECT_TRUE(keptAwake);

  EXPECT_EQ(runProgram("\\windows\\start menu\\Keep awake.lnk"),
            (std::vector<std::string>{"ShellExecuteEx \"\\windows\\start menu\\Keep awake.lnk\" 1",
                                      "CreateProcessW \"\\Program files\\Selvane\\Lumist.exe\" \"\""}));
  EXPECT_TRUE(runProgram("\\Program files\\Selvane\\LUMIST.EXE").empty());
  EXPECT_TRUE(runProgram("\\windows\\start menu\\Keep awake.LNK").empty());
  EXPECT_TRUE(runProgram("\\windows\\notes.txt").empty());
}

TEST_F(SettingsFileCommandsTest, PlayButtonPlaysTheChosenWaveAsynchronously) {
  OpenOnMode(1);
  SettingsRun run = RunSettings(Script(kToNotificationPage, {"dump", "click 1001", "select 1013 12", "click 1001"}));
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  std::vector<std::string> items = Items(run.dumps[0], IDC_EVENT_SOUND);
  ASSERT_GT(items.size(), 12u);

  std::vector<std::string> played;
  for (const std::string& line : SettingsJournal())
    if (line.rfind("PlaySoundW ", 0) == 0) played.push_back(line);
  EXPECT_EQ(played, (std::vector<std::string>{"PlaySoundW \"\\windows\\" + Text(run.dumps[0], IDC_EVENT_SOUND) +
                                                  ".wav\" 0x1",
                                              "PlaySoundW \"\\windows\\" + items[12] + ".wav\" 0x1"}));
}

}  // namespace
}  // namespace settings_test
