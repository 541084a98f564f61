// The phone calendar's appointments as the device tool adds, lists and
// deletes them: records of "Appointments Database" written and read through
// the object store's own calls, exactly as a program on the phone sees them.
#pragma once

#include <string>
#include <vector>

#include <emulated_calendar.h>

namespace platform {

struct Appointment {
  CEOID oid = 0;
  FILETIME start{};
  FILETIME end{};
  DWORD busyStatus = APPOINTMENT_BUSY;
  std::u16string categories;  // "Business, Personal"
  std::u16string subject;
};

// Writes a new record with the appointment's five properties in one step,
// creating the database when the device has none. The record's identifier,
// or 0 with the store's error as the last error.
CEOID AddAppointment(const Appointment& appointment);

// Every appointment, earliest start first, records of the same start in the
// order they were written; none when the device has no such database. A
// property that a record lacks keeps its value of a default Appointment.
// The last error is ERROR_SUCCESS when the list is whole, else the store's
// error that cut it short.
std::vector<Appointment> ListAppointments();

// Deletes the appointment; false when there is none with that identifier
// (last error ERROR_INVALID_PARAMETER) or the store failed (its error).
bool DeleteAppointment(CEOID oid);

}  // namespace platform
