// The object store's calls when the device fails beneath them.
#include <windbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "../device/device.h"
#include "../testing/device_fixture.h"
#include "calendar.h"
#include "contacts.h"
#include "named_database.h"

using testing_support::DeviceTest;

namespace {

const CEPROPID kNote = (1u << 16) | CEVT_LPWSTR;

// Writes one new record holding `text`; its identifier, or 0.
CEOID WriteNote(HANDLE database, const std::u16string& text) {
  std::u16string copy = text;
  CEPROPVAL value{};
  value.propid = kNote;
  value.val.lpwstr = copy.data();
  return CeWriteRecordProps(database, 0, 1, &value);
}

}  // namespace

// A write-protected store refuses each change with ERROR_WRITE_PROTECT and
// still answers what it holds; the failed calls leave nothing behind.
TEST_F(DeviceTest, AReadOnlyStoreRefusesChangesWithTheirErrorAndStillReads) {
  CEOID oid = CeCreateDatabase(u"Notes", 0, 0, nullptr);
  ASSERT_NE(oid, 0u);
  HANDLE database = CeOpenDatabase(&oid, nullptr, 0, 0, nullptr);
  ASSERT_NE(database, INVALID_HANDLE_VALUE);
  const CEOID kept = WriteNote(database, u"kept");
  ASSERT_NE(kept, 0u);

  testing_support::MakeDeviceReadOnly();
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(WriteNote(database, u"refused"), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_WRITE_PROTECT));
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(CeCreateDatabase(u"Other", 0, 0, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_WRITE_PROTECT));
  SetLastError(ERROR_SUCCESS);
  EXPECT_FALSE(CeDeleteRecord(database, kept));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_WRITE_PROTECT));
  EXPECT_FALSE(CeDeleteDatabase(oid));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_WRITE_PROTECT));

  CEOIDINFO info{};
  ASSERT_TRUE(CeOidGetInfo(oid, &info));
  EXPECT_EQ(info.infDatabase.wNumRecords, 1);
  EXPECT_EQ(CeSeekDatabase(database, CEDB_SEEK_BEGINNING, 0, nullptr), kept);
  CloseHandle(database);
}

// A full store takes records while its pages have room, then refuses the
// next with ERROR_DISK_FULL; the calendar's writer passes the error on.
TEST_F(DeviceTest, AFullStoreRefusesTheRecordThatNeedsRoomWithDiskFull) {
  CEOID oid = CeCreateDatabase(u"Notes", 0, 0, nullptr);
  HANDLE database = CeOpenDatabase(&oid, nullptr, 0, 0, nullptr);
  ASSERT_NE(database, INVALID_HANDLE_VALUE);
  testing_support::MakeDeviceFull();
  const std::u16string text(1000, u'x');
  int written = 0;
  CEOID record = 0;
  do {
    SetLastError(ERROR_SUCCESS);
    record = WriteNote(database, text);
    if (record) ++written;
  } while (record && written < 10000);
  EXPECT_EQ(record, 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));

  platform::Appointment appointment;
  appointment.subject = text;
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(platform::AddAppointment(appointment), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));

  platform::CloseDeviceDb();
  CEOIDINFO info{};
  ASSERT_TRUE(CeOidGetInfo(oid, &info));
  EXPECT_EQ(info.infDatabase.wNumRecords, written);
  CloseHandle(database);
}

// Without its device the store finds nothing to open and says why; the
// calendar's and the contacts' readers tell a failed list from an empty one.
TEST_F(DeviceTest, AStoreWithoutItsDeviceFailsEachCallWithGenFailure) {
  CEOID oid = CeCreateDatabase(u"Notes", 0, 0, nullptr);
  ASSERT_NE(oid, 0u);
  HANDLE database = CeOpenDatabase(&oid, nullptr, 0, 0, nullptr);
  ASSERT_NE(database, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(platform::ListAppointments().empty());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_TRUE(platform::ListContacts().empty());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));

  testing_support::RemoveDevice();
  CEOID byName = 0;
  EXPECT_EQ(CeOpenDatabase(&byName, u"Notes", 0, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_GEN_FAILURE));
  EXPECT_EQ(CeFindFirstDatabase(0), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_GEN_FAILURE));
  EXPECT_EQ(WriteNote(database, u"lost"), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_GEN_FAILURE));
  CEOIDINFO info{};
  EXPECT_FALSE(CeOidGetInfo(oid, &info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_GEN_FAILURE));
  EXPECT_TRUE(platform::ListAppointments().empty());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_GEN_FAILURE));
  EXPECT_TRUE(platform::ListContacts().empty());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_GEN_FAILURE));
  CloseHandle(database);
}

// A store that fails in the middle of a list cuts it short with its error,
// never with the end of the records.
TEST_F(DeviceTest, AListCutShortByTheStoreEndsWithTheStoresError) {
  platform::Contact contact;
  contact.numbers = u"5551234";
  for (const char16_t* name : {u"Ann", u"Bob", u"Cy"}) {
    contact.name = name;
    ASSERT_NE(platform::AddContact(contact), 0u);
  }
  const CEPROPID name = CONTACT_NAME_PROPID;
  int read = 0;
  EXPECT_EQ(platform::ReadEveryRecord(CONTACTS_DATABASE_NAME, &name, 1, [&](CEOID, const CEPROPVAL*, WORD) { ++read; }),
            static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(read, 3);

  read = 0;
  const DWORD error = platform::ReadEveryRecord(CONTACTS_DATABASE_NAME, &name, 1, [&](CEOID, const CEPROPVAL*, WORD) {
    if (++read == 1) testing_support::RemoveDevice();
  });
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_GEN_FAILURE));
  EXPECT_EQ(read, 1);
}
