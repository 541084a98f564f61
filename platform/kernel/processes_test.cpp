// Starting installed programs: the installed files, the mapping to built
// binaries, the command line and environment they get, and the journal.
#include <emulated_shell.h>
#include <gtest/gtest.h>
#include <notify.h>
#include <shellapi.h>
#include <windows.h>

#include <sys/stat.h>

#include <cstdlib>

#include "../testing/device_fixture.h"
#include "journal.h"
#include "processes.h"

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

// A program folder with a stand-in "Kestrow" that records its arguments
// and environment, so the test sees exactly what a started program gets.
class ProcessesTest : public testing_support::DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    bin_ = device_->folder().parent_path() / "bin";
    record_ = device_->folder().parent_path() / "record.txt";
    fs::path script = WriteFile(bin_ / "Kestrow",
                                "#!/bin/sh\n"
                                "{ echo \"$#\"; for a in \"$@\"; do echo \"[$a]\"; done;\n"
                                "  echo \"device=$SELVANE_DEVICE\"; echo \"input=${SELVANE_INPUT-unset}\"; }"
                                " > " + record_.string() + "\nexit 3\n");
    fs::permissions(script, fs::perms::owner_all);
    const char* old = std::getenv("SELVANE_BIN");
    if (old) oldBin_ = old;
    setenv("SELVANE_BIN", bin_.c_str(), 1);
    setenv("SELVANE_INPUT", "/tmp/script.txt", 1);
  }
  void TearDown() override {
    if (oldBin_.empty())
      unsetenv("SELVANE_BIN");
    else
      setenv("SELVANE_BIN", oldBin_.c_str(), 1);
    unsetenv("SELVANE_INPUT");
    DeviceTest::TearDown();
  }
  fs::path bin_, record_;
  std::string oldBin_;
};

}  // namespace

TEST_F(ProcessesTest, FreshDeviceHasTheFourProgramsInstalled) {
  for (const char16_t* name : {u"SelvaneSettings.exe", u"SelvaneTimer.exe", u"Kestrow.exe", u"Lumist.exe"}) {
    std::u16string path = std::u16string(u"\\Program files\\Selvane\\") + name;
    EXPECT_EQ(GetFileAttributesW(path.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
  }
  EXPECT_EQ(platform::InstalledProgramBinary(u"\\program files\\selvane\\KESTROW.EXE"), bin_ / "Kestrow");
  // Lumist is installed but no binary of that name is in this program folder.
  EXPECT_EQ(platform::InstalledProgramBinary(u"\\Program files\\Selvane\\Lumist.exe"), std::nullopt);
  EXPECT_EQ(platform::InstalledProgramPath("Lumist"), u"\\Program files\\Selvane\\Lumist.exe");
  EXPECT_EQ(platform::InstalledProgramPath("\\Temp\\x.exe"), u"\\Temp\\x.exe");
}

TEST_F(ProcessesTest, CreateProcessStartsTheProgramWithItsCommandLineAsGiven) {
  WCHAR commandLine[] = u"4  two spaces";
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(CreateProcessW(u"\\Program files\\Selvane\\Kestrow.exe", commandLine, nullptr, nullptr, FALSE, 0,
                             nullptr, nullptr, nullptr, &info));
  EXPECT_NE(info.hProcess, nullptr);
  EXPECT_EQ(platform::WaitForProgram(static_cast<pid_t>(info.dwProcessId)), 3);
  EXPECT_EQ(ReadFile(record_), "1\n[4  two spaces]\ndevice=" + fs::absolute(device_->folder()).string() +
                                   "\ninput=unset\n");
  // The handles are signalled once the program has ended.
  EXPECT_EQ(WaitForSingleObject(info.hProcess, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(CloseHandle(info.hProcess));
  EXPECT_TRUE(CloseHandle(info.hThread));
  EXPECT_FALSE(CloseHandle(info.hProcess));

  // Without an image name, the command line's first word names the program.
  WCHAR quoted[] = u"\"\\Program files\\Selvane\\Kestrow.exe\" 2";
  ASSERT_TRUE(CreateProcessW(nullptr, quoted, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
  EXPECT_EQ(WaitForSingleObject(info.hProcess, INFINITE), WAIT_OBJECT_0);
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
  EXPECT_EQ(ReadFile(record_).substr(0, 6), "1\n[2]\n");

  auto journal = platform::JournalRead();
  ASSERT_EQ(journal.size(), 2u);
  EXPECT_EQ(journal[0].text, "CreateProcessW \"\\Program files\\Selvane\\Kestrow.exe\" \"4  two spaces\"");
  EXPECT_EQ(journal[1].text, "CreateProcessW \"\\Program files\\Selvane\\Kestrow.exe\" \"2\"");
}

TEST_F(ProcessesTest, PathsThatNameNoInstalledProgramFail) {
  WriteFile(device_->fs() / "Temp" / "notes.exe", "just text\n");
  WriteFile(device_->fs() / "Temp" / "sneaky.exe", "SELVANE-PROGRAM ../../bin/sh\n");
  // A built binary that is not one of the phone's programs is no program of the phone.
  fs::copy_file(bin_ / "Kestrow", bin_ / "selvane-bench");
  WriteFile(device_->fs() / "Temp" / "bench.exe", "SELVANE-PROGRAM selvane-bench\n");
  PROCESS_INFORMATION info{};
  for (const char16_t* path : {u"\\Program files\\Selvane\\Missing.exe", u"\\Temp\\notes.exe",
                               u"\\Temp\\sneaky.exe", u"\\Temp\\bench.exe", u"\\Temp",
                               u"\\Program files\\Selvane\\Lumist.exe"}) {
    EXPECT_FALSE(CreateProcessW(path, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  }
  EXPECT_FALSE(fs::exists(record_));
  EXPECT_EQ(platform::JournalRead()[0].text, "CreateProcessW \"\\Program files\\Selvane\\Missing.exe\" \"\" failed");

  // A copy of an installed program elsewhere on the phone starts the same program.
  fs::copy_file(device_->fs() / "Program files" / "Selvane" / "Kestrow.exe", device_->fs() / "Temp" / "bt.exe");
  ASSERT_TRUE(CreateProcessW(u"\\Temp\\bt", nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
  platform::WaitForProgram(static_cast<pid_t>(info.dwProcessId));
  EXPECT_EQ(ReadFile(record_).substr(0, 2), "0\n");
}

// A start, a timed start or a journalled switch that the device cannot
// record fails with FALSE and the store's error; the program is not
// started unrecorded.
TEST_F(ProcessesTest, StartsAndShellCallsOnAFailingDeviceReturnFalseAndTheError) {
  testing_support::MakeDeviceReadOnly();
  SetLastError(ERROR_SUCCESS);
  EXPECT_FALSE(CreateProcessW(u"\\Program files\\Selvane\\Kestrow.exe", nullptr, nullptr, nullptr, FALSE, 0,
                              nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_WRITE_PROTECT));
  EXPECT_FALSE(fs::exists(record_));
  SYSTEMTIME at{2005, 3, 2, 1, 7, 0, 0, 0};
  EXPECT_FALSE(CeRunAppAtTime(u"\\Program files\\Selvane\\Lumist.exe", &at));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_WRITE_PROTECT));
  EXPECT_FALSE(ShellRecordModeSwitch(2, u"Night", u"timer"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_WRITE_PROTECT));
  SHELLEXECUTEINFO info = {};
  info.cbSize = sizeof info;
  info.lpFile = u"\\Program files\\Selvane\\Kestrow.exe";
  EXPECT_FALSE(ShellExecuteEx(&info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_WRITE_PROTECT));
  platform::CloseDeviceDb();
  EXPECT_TRUE(platform::JournalRead().empty());

  testing_support::RemoveDevice();
  EXPECT_FALSE(CreateProcessW(u"\\Program files\\Selvane\\Kestrow.exe", nullptr, nullptr, nullptr, FALSE, 0,
                              nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_GEN_FAILURE));
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_GEN_FAILURE));
  EXPECT_FALSE(fs::exists(record_));
}
