// The device folder, its clock and its journal.
#include <windows.h>

#include "../setup/device_setup.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "../kernel/clock.h"
#include "../kernel/journal.h"
#include "../kernel/program.h"
#include "../testing/device_fixture.h"

using testing_support::DeviceTest;
using testing_support::TempDevice;

TEST_F(DeviceTest, CreatingASecondDeviceInTheSameFolderNeedsForce) {
  std::string error;
  EXPECT_FALSE(platform::CreateDevice({}, false, &error));
  EXPECT_NE(error.find("--force"), std::string::npos);
  platform::SetDeviceValue("marker", "old");
  EXPECT_TRUE(platform::CreateDevice({}, true, &error)) << error;
  EXPECT_FALSE(platform::DeviceValue("marker"));
}

// Only the program entry, the device tool and fixtures make devices: a call
// that reaches the database without one is refused and makes nothing.
TEST(DeviceOpening, AMissingDeviceIsRefusedByLowLevelCallsAndMadeOnlyOnRequest) {
  TempDevice device;
  const std::filesystem::path missing = device.folder().parent_path() / "none";
  setenv("SELVANE_DEVICE", missing.c_str(), 1);
  platform::CloseDeviceDb();
  try {
    platform::DeviceDb();
    ADD_FAILURE() << "a missing device was opened";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("no device at " + missing.string()), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("selvane-device init"), std::string::npos) << e.what();
  }
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software", 0, 0, &key), ERROR_GEN_FAILURE);
  EXPECT_FALSE(std::filesystem::exists(missing));

  platform::EnsureDevice();
  EXPECT_TRUE(platform::DeviceExists());
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software", 0, 0, &key), ERROR_SUCCESS);
  RegCloseKey(key);
  platform::CloseDeviceDb();
  setenv("SELVANE_DEVICE", device.folder().c_str(), 1);
}

TEST_F(DeviceTest, DeviceOptionsAreKept) {
  platform::DeviceOptions options;
  options.screenWidth = 320;
  options.screenHeight = 240;
  options.widcomm = true;
  std::string error;
  ASSERT_TRUE(platform::CreateDevice(options, true, &error)) << error;
  EXPECT_EQ(platform::DeviceInt("screen.width", 0), 320);
  EXPECT_EQ(platform::DeviceInt("screen.height", 0), 240);
  EXPECT_EQ(platform::DeviceValue("bt.stack"), "widcomm");
}

TEST_F(DeviceTest, FrozenClockMovesOnlyWithTheProgramsVirtualTime) {
  int64_t ms;
  ASSERT_TRUE(platform::ParseLocalTime("2005-02-28 23:59:50", &ms));
  platform::SetDeviceClock(ms, true);
  platform::RestartProgramClock();
  SYSTEMTIME t;
  GetLocalTime(&t);
  EXPECT_EQ(t.wYear, 2005);
  EXPECT_EQ(t.wMonth, 2);
  EXPECT_EQ(t.wDay, 28);
  EXPECT_EQ(t.wDayOfWeek, 1);  // a Monday
  EXPECT_EQ(t.wSecond, 50);
  Sleep(15000);  // headless: virtual, returns at once
  GetLocalTime(&t);
  EXPECT_EQ(t.wMonth, 3);
  EXPECT_EQ(t.wDay, 1);
  EXPECT_EQ(t.wHour, 0);
  EXPECT_EQ(t.wSecond, 5);
  EXPECT_EQ(platform::FormatLocalTime(platform::DeviceNowMs()), "2005-02-28 23:59:50");
}

TEST(LocalTimeText, RejectsMalformedAndImpossibleDates) {
  int64_t ms;
  EXPECT_FALSE(platform::ParseLocalTime("2005-02-30 10:00:00", &ms));
  EXPECT_FALSE(platform::ParseLocalTime("2005-13-01 10:00:00", &ms));
  EXPECT_FALSE(platform::ParseLocalTime("yesterday", &ms));
  EXPECT_FALSE(platform::ParseLocalTime("2005-01-01 10:00:00x", &ms));
  ASSERT_TRUE(platform::ParseLocalTime("2004-02-29 07:00:05", &ms));
  EXPECT_EQ(platform::FormatLocalTime(ms), "2004-02-29 07:00:05");
}

TEST(LocalTimeText, TakesExactlyOneFormWithOrWithoutSeconds) {
  int64_t ms;
  ASSERT_TRUE(platform::ParseLocalTime("2005-03-01 07:00", &ms));
  EXPECT_EQ(platform::FormatLocalTime(ms), "2005-03-01 07:00:00");
  for (const char* text : {"2005-3-1 1:2:3", " 2005-03-01 07:00:00", "+2005-03-01 07:00:00", "2005-03-01 07:00:00 ",
                           "2005-03-01  07:00", "2005-03-01T07:00", "2005-03-01 07", "2005-03-01 07:00:5",
                           "02005-03-01 07:00", "2005-03-01 -7:00", "1969-12-31 23:59", "2005-03-01 07:00:00.5"})
    EXPECT_FALSE(platform::ParseLocalTime(text, &ms)) << text;
}

TEST_F(DeviceTest, JournalKeepsOrderAndProgramName) {
  platform::SetProgramName("/x/bin/Kestrow.exe");
  platform::JournalAppend("BthSetMode 2");
  platform::SetProgramName("Lumist");
  platform::JournalAppend("keybd_event 0x87 0 0x6 0");
  auto lines = platform::JournalRead();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].program, "Kestrow");
  EXPECT_EQ(lines[1].program, "Lumist");
  EXPECT_LT(lines[0].seq, lines[1].seq);
  platform::JournalClear();
  EXPECT_TRUE(platform::JournalRead().empty());
}

// The phone.db alone, without its log, as a copy read by a plain connection:
// the count of values that the database file itself holds.
int ValuesInDatabaseFile(const std::filesystem::path& folder, const std::filesystem::path& copy) {
  std::filesystem::copy_file(folder / "phone.db", copy, std::filesystem::copy_options::overwrite_existing);
  sqlite3* db = nullptr;
  int count = -1;
  if (sqlite3_open_v2(copy.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
    sqlite3_stmt* q = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT count(*) FROM device_state WHERE name LIKE 'bulk %'", -1, &q, nullptr) ==
            SQLITE_OK &&
        sqlite3_step(q) == SQLITE_ROW)
      count = sqlite3_column_int(q, 0);
    sqlite3_finalize(q);
  }
  sqlite3_close(db);
  std::filesystem::remove(copy);
  return count;
}

// Every program's first connection reads the whole log back, so a program
// that left it long copies it into the database and empties it as it
// closes; a short one is left for later, sparing the flush.
TEST(DeviceLog, AConnectionThatLeftALongLogCopiesItIntoTheDatabaseAsItCloses) {
  TempDevice device;
  const std::filesystem::path copy = device.folder().parent_path() / "copy.db";
  platform::SetDeviceValue("bulk 0", "x");
  platform::CloseDeviceDb();
  EXPECT_EQ(ValuesInDatabaseFile(device.folder(), copy), 0);
  for (int i = 1; i < 300; ++i) platform::SetDeviceValue("bulk " + std::to_string(i), std::string(200, 'x'));
  EXPECT_EQ(ValuesInDatabaseFile(device.folder(), copy), 0);
  platform::CloseDeviceDb();
  EXPECT_EQ(ValuesInDatabaseFile(device.folder(), copy), 300);
}

uintmax_t LogSize(const std::filesystem::path& folder) {
  std::error_code ec;
  uintmax_t size = std::filesystem::file_size(folder / "phone.db-wal", ec);
  return ec ? 0 : size;
}

// A log that was copied but kept would still be read back whole by the next
// program; emptied, it is not. While another connection reads an older
// state, the closing one neither waits for it nor cuts the log beneath it.
TEST(DeviceLog, ALongLogIsEmptiedAsItClosesUnlessAnotherConnectionStillReadsIt) {
  TempDevice device;
  const std::filesystem::path copy = device.folder().parent_path() / "copy.db";
  for (int i = 0; i < 300; ++i) platform::SetDeviceValue("bulk " + std::to_string(i), std::string(200, 'x'));
  EXPECT_GT(LogSize(device.folder()), 0u);
  platform::CloseDeviceDb();
  EXPECT_EQ(LogSize(device.folder()), 0u);
  EXPECT_EQ(ValuesInDatabaseFile(device.folder(), copy), 300);

  sqlite3* reader = nullptr;
  ASSERT_EQ(sqlite3_open_v2((device.folder() / "phone.db").c_str(), &reader, SQLITE_OPEN_READONLY, nullptr),
            SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(reader, "BEGIN; SELECT count(*) FROM device_state;", nullptr, nullptr, nullptr), SQLITE_OK);
  for (int i = 300; i < 600; ++i) platform::SetDeviceValue("bulk " + std::to_string(i), std::string(200, 'x'));
  platform::CloseDeviceDb();
  EXPECT_GT(LogSize(device.folder()), 0u);
  sqlite3_exec(reader, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(reader);
  platform::Statement count(platform::DeviceDb(), "SELECT count(*) FROM device_state WHERE name LIKE 'bulk %'");
  ASSERT_TRUE(count.Step());
  EXPECT_EQ(count.Int(0), 600);
}
