// A device is data that may come from anyone: a file on it that names a
// host program starts nothing, whichever way the phone is asked to start
// it, while the phone's own programs still start from the same folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/kernel/journal.h"
#include "platform/testing/device_fixture.h"
#include "settings/resource.h"

namespace fs = std::filesystem;
using testing_support::ProgramResult;
using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::WriteFile;

namespace {

// A program folder (SELVANE_BIN) that holds, beside a stand-in Kestrow,
// host programs a hostile device would like to start: each records its run.
class ProgramConfinementTest : public testing_support::DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    bin_ = device_->folder().parent_path() / "bin";
    record_ = device_->folder().parent_path() / "record.txt";
    for (const char* name : {"rm", "selvane-device", "selvane-clock-probe", "Kestrow"}) {
      fs::path script = WriteFile(bin_ / name, std::string("#!/bin/sh\necho \"") + name + " $*\" >> " +
                                                   record_.string() + "\n");
      fs::permissions(script, fs::perms::owner_all);
    }
    WriteFile(device_->fs() / "Temp" / "clean.exe", "SELVANE-PROGRAM rm\n");
    WriteFile(device_->fs() / "Temp" / "tool.exe", "SELVANE-PROGRAM selvane-device\n");
    WriteFile(device_->fs() / "Temp" / "probe.exe", "SELVANE-PROGRAM selvane-clock-probe\n");
    WriteFile(device_->fs() / "windows" / "start menu" / "Clean.lnk", "20#\\Temp\\clean.exe -rf /home");
  }
  std::map<std::string, std::string> Env() const { return {{"SELVANE_BIN", bin_.string()}}; }
  std::string Recorded() const { return fs::exists(record_) ? ReadFile(record_) : ""; }
  bool Journalled(const std::string& text) const {
    for (const auto& line : platform::JournalRead())
      if (line.text == text) return true;
    return false;
  }
  // The settings program's Run on its program page, for `program`.
  ProgramResult RunFromSettings(const std::string& program) {
    fs::path script = WriteFile(device_->folder().parent_path() / "run.txt",
                                "click 1027\nclick 1027\ntype " + std::to_string(IDC_PROGRAM) + " " + program +
                                    "\nclick " + std::to_string(IDC_RUN) + "\n");
    std::map<std::string, std::string> env = Env();
    env["SELVANE_INPUT"] = script.string();
    return RunProgram("SelvaneSettings", {}, env);
  }
  fs::path bin_, record_;
};

}  // namespace

TEST_F(ProgramConfinementTest, CreateProcessStartsOnlyThePhonesPrograms) {
  // The clock probe's "NAME WAIT PATH" starts PATH with CreateProcessW, exiting 2 when it fails.
  for (const char* path : {"\\Temp\\clean.exe", "\\Temp\\tool.exe", "\\Temp\\probe.exe"}) {
    ProgramResult run = RunProgram("selvane-clock-probe", {"parent", "0", path}, Env());
    EXPECT_EQ(run.status, 2) << path << run.err;
  }
  EXPECT_EQ(Recorded(), "");
  EXPECT_TRUE(Journalled("CreateProcessW \"\\Temp\\clean.exe\" \"child\" failed"));

  // The same program folder still gives the phone's own programs (here a
  // copy of the installed Kestrow, since the probe takes a path without blanks).
  fs::copy_file(device_->fs() / "Program files" / "Selvane" / "Kestrow.exe", device_->fs() / "Temp" / "bt.exe");
  ProgramResult run = RunProgram("selvane-clock-probe", {"parent", "0", "\\Temp\\bt.exe"}, Env());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Recorded(), "Kestrow child\n");
}

TEST_F(ProgramConfinementTest, TheSettingsProgramsRunStartsNoHostProgram) {
  ProgramResult shortcut = RunFromSettings("\\windows\\start menu\\Clean.lnk");
  ASSERT_EQ(shortcut.status, 0) << shortcut.err;
  EXPECT_TRUE(Journalled("ShellExecuteEx \"\\windows\\start menu\\Clean.lnk\" 1"));
  EXPECT_TRUE(Journalled("CreateProcessW \"\\Temp\\clean.exe\" \"-rf /home\" failed"));

  ProgramResult program = RunFromSettings("\\Temp\\tool.exe");
  ASSERT_EQ(program.status, 0) << program.err;
  EXPECT_TRUE(Journalled("CreateProcessW \"\\Temp\\tool.exe\" \"\" failed"));
  EXPECT_EQ(Recorded(), "");
}

TEST_F(ProgramConfinementTest, TheDeviceToolStartsNoHostProgram) {
  ProgramResult run = RunProgram("selvane-device", {"start", "--wait", "\\Temp\\clean.exe", "-rf", "/home"}, Env());
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("no installed program at \\Temp\\clean.exe"), std::string::npos) << run.err;
  EXPECT_EQ(Recorded(), "");
}
