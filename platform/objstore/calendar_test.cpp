// The calendar's appointments: what AddAppointment (the device tool's way of
// writing them) leaves in the object store is what a program on the phone
// reads with CeOpenDatabase, CeSeekDatabase and CeReadRecordPropsEx.
#include <emulated_calendar.h>
#include <windbase.h>

#include "calendar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include "../testing/device_fixture.h"
#include "../testing/system_time_at.h"

using testing_support::DeviceTest;

namespace {

FILETIME At(WORD year, WORD month, WORD day, WORD hour, WORD minute) {
  SYSTEMTIME t = testing_support::SystemTimeAt(year, month, day, hour, minute);
  FILETIME time{};
  EXPECT_TRUE(SystemTimeToFileTime(&t, &time));
  return time;
}

platform::Appointment Meeting(FILETIME start, FILETIME end, DWORD status, const std::u16string& categories,
                              const std::u16string& subject) {
  platform::Appointment appointment;
  appointment.start = start;
  appointment.end = end;
  appointment.busyStatus = status;
  appointment.categories = categories;
  appointment.subject = subject;
  return appointment;
}

bool SameTime(const FILETIME& a, const FILETIME& b) { return CompareFileTime(&a, &b) == 0; }

std::vector<CEOID> Identifiers(const std::vector<platform::Appointment>& appointments) {
  std::vector<CEOID> oids;
  for (const auto& a : appointments) oids.push_back(a.oid);
  return oids;
}

}  // namespace

TEST_F(DeviceTest, AppointmentsReadBackThroughTheObjectStoreAsAPhoneProgramReadsThem) {
  const platform::Appointment written[] = {
      Meeting(At(2005, 3, 1, 9, 0), At(2005, 3, 1, 10, 30), APPOINTMENT_BUSY, u"Business, Personal", u"Budget"),
      Meeting(At(2005, 3, 1, 8, 0), At(2005, 3, 1, 8, 15), APPOINTMENT_TENTATIVE, u"", u"Caf\u00e9"),
      Meeting(At(2005, 3, 2, 0, 0), At(2005, 3, 3, 0, 0), APPOINTMENT_OUT_OF_OFFICE, u"Holiday", u""),
  };
  std::vector<CEOID> oids;
  for (const auto& appointment : written) {
    oids.push_back(platform::AddAppointment(appointment));
    ASSERT_NE(oids.back(), 0u);
  }

  CEOID oid = 0;
  HANDLE database = CeOpenDatabase(&oid, u"Appointments Database", 0, CEDB_AUTOINCREMENT, nullptr);
  ASSERT_NE(database, INVALID_HANDLE_VALUE);
  CEOIDINFO info;
  ASSERT_TRUE(CeOidGetInfo(oid, &info));
  EXPECT_EQ(info.infDatabase.wNumRecords, 3);
  ASSERT_EQ(CeSeekDatabase(database, CEDB_SEEK_BEGINNING, 0, nullptr), oids[0]);
  LPBYTE buffer = nullptr;
  DWORD size = 0;
  for (size_t i = 0; i < 3; ++i) {
    WORD count = 0;
    ASSERT_EQ(CeReadRecordPropsEx(database, CEDB_ALLOWREALLOC, &count, nullptr, &buffer, &size, nullptr), oids[i]);
    ASSERT_EQ(count, 5);
    const auto* values = reinterpret_cast<const CEPROPVAL*>(buffer);
    int seen = 0;
    for (WORD p = 0; p < count; ++p) {
      const CEPROPVAL& v = values[p];
      EXPECT_EQ(v.wFlags, 0);
      switch (v.propid) {
        case APPOINTMENT_SUBJECT_PROPID:
          EXPECT_EQ(std::u16string(v.val.lpwstr), written[i].subject);
          EXPECT_EQ(v.wLenData, (written[i].subject.size() + 1) * sizeof(WCHAR));
          ++seen;
          break;
        case APPOINTMENT_START_PROPID: EXPECT_TRUE(SameTime(v.val.filetime, written[i].start)); ++seen; break;
        case APPOINTMENT_END_PROPID: EXPECT_TRUE(SameTime(v.val.filetime, written[i].end)); ++seen; break;
        case APPOINTMENT_BUSY_STATUS_PROPID: EXPECT_EQ(v.val.ulVal, written[i].busyStatus); ++seen; break;
        case APPOINTMENT_CATEGORIES_PROPID:
          EXPECT_EQ(std::u16string(v.val.lpwstr), written[i].categories);
          ++seen;
          break;
      }
    }
    EXPECT_EQ(seen, 5) << "record " << i;
  }
  WORD count = 0;
  EXPECT_EQ(CeReadRecordPropsEx(database, CEDB_ALLOWREALLOC, &count, nullptr, &buffer, &size, nullptr), 0u);
  LocalFree(buffer);
  CloseHandle(database);

  const auto listed = platform::ListAppointments();
  EXPECT_EQ(Identifiers(listed), (std::vector<CEOID>{oids[1], oids[0], oids[2]}));
  EXPECT_EQ(listed[1].categories, u"Business, Personal");
  EXPECT_TRUE(SameTime(listed[2].end, written[2].end));
}

TEST_F(DeviceTest, ListingKeepsWritingOrderForEqualStartsAndToleratesForeignRecords) {
  const FILETIME nine = At(2005, 3, 1, 9, 0), ten = At(2005, 3, 1, 10, 0);
  const CEOID first = platform::AddAppointment(Meeting(nine, ten, APPOINTMENT_BUSY, u"", u"first"));
  const CEOID second = platform::AddAppointment(Meeting(nine, ten, APPOINTMENT_FREE, u"", u"second"));
  // Another program's record with nothing but a subject lists with the defaults.
  CEOID oid = 0;
  HANDLE database = CeOpenDatabase(&oid, APPOINTMENTS_DATABASE_NAME, 0, 0, nullptr);
  ASSERT_NE(database, INVALID_HANDLE_VALUE);
  CEPROPVAL subject{};
  subject.propid = APPOINTMENT_SUBJECT_PROPID;
  subject.val.lpwstr = const_cast<LPWSTR>(u"bare");
  const CEOID bare = CeWriteRecordProps(database, 0, 1, &subject);
  CloseHandle(database);

  const auto listed = platform::ListAppointments();
  ASSERT_EQ(Identifiers(listed), (std::vector<CEOID>{bare, first, second}));
  EXPECT_EQ(listed[0].subject, u"bare");
  EXPECT_EQ(listed[0].busyStatus, static_cast<DWORD>(APPOINTMENT_BUSY));
  EXPECT_EQ(listed[0].categories, u"");
}

TEST_F(DeviceTest, DeletingTakesOnlyAppointments) {
  const CEOID gone = platform::AddAppointment(
      Meeting(At(2005, 3, 1, 9, 0), At(2005, 3, 1, 10, 0), APPOINTMENT_BUSY, u"", u"gone"));
  EXPECT_TRUE(platform::DeleteAppointment(gone));
  EXPECT_FALSE(platform::DeleteAppointment(gone));
  EXPECT_TRUE(platform::ListAppointments().empty());

  // A record of another database is no appointment, whatever its identifier.
  CEOID categories = 0;
  HANDLE database = CeOpenDatabase(&categories, u"Categories Database", 0, 0, nullptr);
  ASSERT_NE(database, INVALID_HANDLE_VALUE);
  const CEOID category = CeSeekDatabase(database, CEDB_SEEK_BEGINNING, 0, nullptr);
  ASSERT_NE(category, 0u);
  EXPECT_FALSE(platform::DeleteAppointment(category));
  EXPECT_EQ(CeSeekDatabase(database, CEDB_SEEK_CEOID, category, nullptr), category);
  CloseHandle(database);
}
