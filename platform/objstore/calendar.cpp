// The calendar's appointments over the object store: adding, listing and
// deleting records of "Appointments Database" through the Ce* calls.
#include "calendar.h"

#include <algorithm>

#include <windows.h>

#include "named_database.h"

namespace platform {

namespace {

const CEPROPID kAppointmentProperties[] = {APPOINTMENT_SUBJECT_PROPID, APPOINTMENT_START_PROPID,
                                           APPOINTMENT_END_PROPID, APPOINTMENT_BUSY_STATUS_PROPID,
                                           APPOINTMENT_CATEGORIES_PROPID};
constexpr WORD kAppointmentPropertyCount = sizeof kAppointmentProperties / sizeof kAppointmentProperties[0];

// Fills `appointment` from the values CeReadRecordPropsEx returned.
void TakeValues(const CEPROPVAL* values, WORD count, Appointment* appointment) {
  for (WORD i = 0; i < count; ++i) {
    const CEPROPVAL& value = values[i];
    if (value.wFlags & CEDB_PROPNOTFOUND) continue;
    switch (value.propid) {
      case APPOINTMENT_SUBJECT_PROPID: appointment->subject = value.val.lpwstr; break;
      case APPOINTMENT_START_PROPID: appointment->start = value.val.filetime; break;
      case APPOINTMENT_END_PROPID: appointment->end = value.val.filetime; break;
      case APPOINTMENT_BUSY_STATUS_PROPID: appointment->busyStatus = value.val.ulVal; break;
      case APPOINTMENT_CATEGORIES_PROPID: appointment->categories = value.val.lpwstr; break;
    }
  }
}

}  // namespace

CEOID AddAppointment(const Appointment& appointment) {
  HANDLE database = OpenOrCreateNamedDatabase(APPOINTMENTS_DATABASE_NAME);
  if (database == INVALID_HANDLE_VALUE) return 0;
  std::u16string subject = appointment.subject;
  std::u16string categories = appointment.categories;
  CEPROPVAL values[kAppointmentPropertyCount] = {};
  for (WORD i = 0; i < kAppointmentPropertyCount; ++i) values[i].propid = kAppointmentProperties[i];
  values[0].val.lpwstr = subject.data();
  values[1].val.filetime = appointment.start;
  values[2].val.filetime = appointment.end;
  values[3].val.ulVal = appointment.busyStatus;
  values[4].val.lpwstr = categories.data();
  const CEOID record = CeWriteRecordProps(database, 0, kAppointmentPropertyCount, values);
  const DWORD error = GetLastError();
  CloseHandle(database);
  SetLastError(error);
  return record;
}

std::vector<Appointment> ListAppointments() {
  std::vector<Appointment> appointments;
  const DWORD error = ReadEveryRecord(APPOINTMENTS_DATABASE_NAME, kAppointmentProperties, kAppointmentPropertyCount,
                                      [&](CEOID oid, const CEPROPVAL* values, WORD count) {
                                        Appointment appointment;
                                        appointment.oid = oid;
                                        TakeValues(values, count, &appointment);
                                        appointments.push_back(std::move(appointment));
                                      });
  SetLastError(error);
  std::stable_sort(appointments.begin(), appointments.end(), [](const Appointment& a, const Appointment& b) {
    return CompareFileTime(&a.start, &b.start) < 0;
  });
  return appointments;
}

bool DeleteAppointment(CEOID oid) {
  HANDLE database = OpenNamedDatabase(APPOINTMENTS_DATABASE_NAME, 0);
  if (database == INVALID_HANDLE_VALUE) {
    // No calendar holds no such appointment.
    if (GetLastError() == ERROR_FILE_NOT_FOUND) SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  const BOOL deleted = CeDeleteRecord(database, oid);
  const DWORD error = GetLastError();
  CloseHandle(database);
  SetLastError(error);
  return deleted;
}

}  // namespace platform
