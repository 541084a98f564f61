// The calendar is read through the object store, as the phone's calendar
// program keeps it, record by record into one buffer grown as needed.
#include "today/calendar_rule.h"

#include <windbase.h>
#include <emulated_calendar.h>

#include "schedule/switch_schedule.h"
#include "store/mode_keys.h"
#include "store/mode_store.h"
#include "today/mode_values.h"

// Local times as one number that orders them (100-ns units since 1601).
static ULONGLONG TimeValue(const SYSTEMTIME* time) {
  FILETIME file = {};
  if (!SystemTimeToFileTime(time, &file)) return 0;
  return ((ULONGLONG)file.dwHighDateTime << 32) | file.dwLowDateTime;
}

static BOOL SameDay(const SYSTEMTIME* a, const SYSTEMTIME* b) {
  return a->wYear == b->wYear && a->wMonth == b->wMonth && a->wDay == b->wDay;
}

// Copies one property of a record into the appointment.
static void TakeProperty(const CEPROPVAL* value, Appointment* appointment, int* found) {
  if (value->wFlags & CEDB_PROPNOTFOUND) return;
  switch (value->propid) {
    case APPOINTMENT_START_PROPID:
      if (FileTimeToSystemTime(&value->val.filetime, &appointment->Start)) *found |= 1;
      break;
    case APPOINTMENT_END_PROPID:
      if (FileTimeToSystemTime(&value->val.filetime, &appointment->End)) *found |= 2;
      break;
    case APPOINTMENT_BUSY_STATUS_PROPID:
      appointment->Status = value->val.ulVal;
      break;
    case APPOINTMENT_CATEGORIES_PROPID:
      if (value->val.lpwstr) {
        wcsncpy(appointment->Categories, value->val.lpwstr, APPOINTMENT_CATEGORIES_SIZE);
        appointment->Categories[APPOINTMENT_CATEGORIES_SIZE - 1] = 0;
      }
      break;
  }
}

int ReadAppointments(Appointment* appointments, int capacity) {
  CEOID database = 0;
  HANDLE opened = CeOpenDatabase(&database, APPOINTMENTS_DATABASE_NAME, 0, CEDB_AUTOINCREMENT, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return 0;
  DWORD index = 0;
  CeSeekDatabase(opened, CEDB_SEEK_BEGINNING, 0, &index);
  LPBYTE buffer = nullptr;
  DWORD size = 0;
  int count = 0;
  while (count < capacity) {
    WORD properties = 0;
    if (!CeReadRecordPropsEx(opened, CEDB_ALLOWREALLOC, &properties, nullptr, &buffer, &size, nullptr)) break;
    Appointment appointment = {};
    appointment.Status = APPOINTMENT_BUSY;
    int found = 0;
    const CEPROPVAL* values = (const CEPROPVAL*)buffer;
    for (WORD i = 0; i < properties; ++i) TakeProperty(&values[i], &appointment, &found);
    if (found == 3) appointments[count++] = appointment;
  }
  if (buffer) LocalFree(buffer);
  CloseHandle(opened);
  return count;
}

BOOL AppointmentMatches(const Appointment* appointment, DWORD status, LPCWSTR category) {
  if (status != STATUS_ANY && appointment->Status != status) return FALSE;
  if (_wcsicmp(category, CATEGORY_ANY) == 0) return TRUE;
  const WCHAR* part = appointment->Categories;
  size_t wanted = wcslen(category);
  while (*part) {
    while (*part == TEXT(' ')) ++part;
    const WCHAR* end = wcschr(part, TEXT(','));
    size_t length = end ? (size_t)(end - part) : wcslen(part);
    size_t trimmed = length;
    while (trimmed > 0 && part[trimmed - 1] == TEXT(' ')) --trimmed;
    if (trimmed == wanted && wanted > 0 && _wcsnicmp(part, category, wanted) == 0) return TRUE;
    if (!end) break;
    part = end + 1;
  }
  return FALSE;
}

// The earliest matching appointment of today that has not ended, or null.
static const Appointment* NextAppointment(const Appointment* appointments, int count, const ModeSwitchValues* mode,
                                          const SYSTEMTIME* now) {
  const Appointment* next = nullptr;
  ULONGLONG nowValue = TimeValue(now);
  for (int i = 0; i < count; ++i) {
    const Appointment* candidate = &appointments[i];
    if (!SameDay(&candidate->Start, now) || TimeValue(&candidate->End) <= nowValue) continue;
    if (!AppointmentMatches(candidate, mode->Status, mode->Category)) continue;
    if (!next || TimeValue(&candidate->Start) < TimeValue(&next->Start)) next = candidate;
  }
  return next;
}

// Writes all four calendar times of a mode, zeros included, when one of
// them differs from what the key holds (a missing one holds 0), so that no
// pair is left half written; TRUE when written.
static BOOL UpdateCalendarTimes(DWORD mode, const ModeSwitchValues* stored, DWORD startHour, DWORD startMinute,
                                DWORD stopHour, DWORD stopMinute) {
  if (stored->StartHourOutlook == startHour &&
      stored->StartMinutesOutlook == startMinute && stored->StopHourOutlook == stopHour &&
      stored->StopMinutesOutlook == stopMinute)
    return FALSE;
  BOOL written = WriteModeDword(mode, START_HOUR_OUTLOOK_VALUE, startHour);
  written &= WriteModeDword(mode, START_MINUTES_OUTLOOK_VALUE, startMinute);
  written &= WriteModeDword(mode, STOP_HOUR_OUTLOOK_VALUE, stopHour);
  written &= WriteModeDword(mode, STOP_MINUTES_OUTLOOK_VALUE, stopMinute);
  return written;
}

DWORD WorkOutCalendarTimes(const Appointment* appointments, int count, ModeSwitchValues modes[LAST_MODE + 1],
                           const SYSTEMTIME* now, DWORD activeMode, SYSTEMTIME* began) {
  DWORD busyNow = 0;
  for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode) {
    ModeSwitchValues* values = &modes[mode];
    if (!values->Present) continue;
    DWORD startHour = 0, startMinute = 0, stopHour = 0, stopMinute = 0;
    const Appointment* next = nullptr;
    if (values->OutlookSwitch == 1) next = NextAppointment(appointments, count, values, now);
    if (next) {
      startHour = next->Start.wHour;
      startMinute = next->Start.wMinute;
      // (0, 0) is no time: an appointment from midnight starts at 0:01.
      if (startHour == 0 && startMinute == 0) startMinute = 1;
      // One that ends on another day ends today at 23:59.
      stopHour = SameDay(&next->End, now) ? next->End.wHour : 23;
      stopMinute = SameDay(&next->End, now) ? next->End.wMinute : 59;
      if (mode == activeMode && TimeValue(&next->Start) <= TimeValue(now)) {
        busyNow = values->ModeBusy;
        *began = next->Start;
      }
    }
    values->StartHourOutlook = startHour;
    values->StartMinutesOutlook = startMinute;
    values->StopHourOutlook = stopHour;
    values->StopMinutesOutlook = stopMinute;
  }
  return busyNow;
}

DWORD RefreshCalendarTimes(const SYSTEMTIME* now, DWORD activeMode, SYSTEMTIME* began) {
  static Appointment appointments[APPOINTMENTS_CAPACITY];
  int count = ReadAppointments(appointments, APPOINTMENTS_CAPACITY);
  ModeSwitchValues stored[LAST_MODE + 1];
  ModeSwitchValues worked[LAST_MODE + 1];
  for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode) {
    ReadModeSwitchValues(mode, &stored[mode]);
    worked[mode] = stored[mode];
  }
  DWORD busyNow = WorkOutCalendarTimes(appointments, count, worked, now, activeMode, began);
  BOOL changed = FALSE;
  for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode) {
    const ModeSwitchValues* times = &worked[mode];
    if (!times->Present) continue;
    changed |= UpdateCalendarTimes(mode, &stored[mode], times->StartHourOutlook, times->StartMinutesOutlook,
                                   times->StopHourOutlook, times->StopMinutesOutlook);
  }
  if (changed) ScheduleNextSwitch();
  return busyNow;
}
