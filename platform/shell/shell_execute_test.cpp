// ShellExecuteEx: shortcuts start their targets through the program mapping,
// every call is journalled, and what cannot be opened fails.
#include <emulated_limits.h>
#include <gtest/gtest.h>
#include <shellapi.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "../files/files.h"
#include "../kernel/journal.h"
#include "../testing/device_fixture.h"

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

// A program folder with a stand-in "Kestrow" that records its arguments.
class ShellExecuteTest : public testing_support::DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    bin_ = device_->folder().parent_path() / "bin";
    record_ = device_->folder().parent_path() / "record.txt";
    fs::path script = WriteFile(bin_ / "Kestrow", "#!/bin/sh\necho \"$#[$*]\" > " + record_.string() + "\n");
    fs::permissions(script, fs::perms::owner_all);
    if (const char* old = std::getenv("SELVANE_BIN")) oldBin_ = old;
    setenv("SELVANE_BIN", bin_.c_str(), 1);
  }
  void TearDown() override {
    if (oldBin_.empty())
      unsetenv("SELVANE_BIN");
    else
      setenv("SELVANE_BIN", oldBin_.c_str(), 1);
    DeviceTest::TearDown();
  }
  // What the stand-in recorded, once it has run.
  std::string Recorded() {
    for (int i = 0; i < 500 && !(fs::exists(record_) && fs::file_size(record_) > 0); i++)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return fs::exists(record_) ? ReadFile(record_) : "";
  }
  BOOL Open(LPCWSTR file, DWORD size = SHELLEXECUTEINFO_PHONE_SIZE) {
    SHELLEXECUTEINFO info = {};
    info.cbSize = size;
    info.lpFile = file;
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteEx(&info);
  }
  fs::path bin_, record_;
  std::string oldBin_;
};

TEST_F(ShellExecuteTest, ShortcutStartsItsTargetWithItsArguments) {
  platform::WriteDeviceFile(u"\\windows\\start menu\\x.lnk", "38#\"\\Program files\\Selvane\\Kestrow.exe\" 4\r\n");
  ASSERT_TRUE(Open(u"\\windows\\start menu\\x.lnk"));
  EXPECT_EQ("1[4]\n", Recorded());
  auto journal = platform::JournalRead();
  ASSERT_EQ(2u, journal.size());
  EXPECT_EQ("ShellExecuteEx \"\\windows\\start menu\\x.lnk\" 1", journal[0].text);
  EXPECT_EQ("CreateProcessW \"\\Program files\\Selvane\\Kestrow.exe\" \"4\"", journal[1].text);
}

TEST_F(ShellExecuteTest, UnquotedTargetAndShortcutToShortcut) {
  platform::WriteDeviceFile(u"\\Temp\\bt.lnk", "34#\\Program files\\Selvane\\Kestrow.exe");
  platform::WriteDeviceFile(u"\\Temp\\again.LNK", "12#\\Temp\\bt.lnk");
  ASSERT_TRUE(Open(u"\\Temp\\again.LNK", sizeof(SHELLEXECUTEINFO)));
  EXPECT_EQ("0[]\n", Recorded());
}

TEST_F(ShellExecuteTest, WhatCannotBeOpenedFailsAndIsStillJournalled) {
  platform::WriteDeviceFile(u"\\Temp\\broken.lnk", "no length here");
  platform::WriteDeviceFile(u"\\Temp\\loop.lnk", "13#\\Temp\\loop.lnk");
  platform::WriteDeviceFile(u"\\Temp\\notes.txt", "text");
  EXPECT_FALSE(Open(u"\\Temp\\missing.lnk"));
  EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
  EXPECT_FALSE(Open(u"\\Temp\\broken.lnk"));
  EXPECT_FALSE(Open(u"\\Temp\\loop.lnk"));
  EXPECT_FALSE(Open(u"\\Temp\\notes.txt"));
  EXPECT_EQ(static_cast<DWORD>(ERROR_NO_ASSOCIATION), GetLastError());
  EXPECT_EQ(4u, platform::JournalRead().size());
  EXPECT_FALSE(Open(u"\\Temp\\notes.txt", 0));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
  EXPECT_EQ(4u, platform::JournalRead().size());
  EXPECT_FALSE(fs::exists(record_));
}

}  // namespace
