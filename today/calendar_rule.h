// The calendar rule of a mode: during an appointment that meets the mode's
// "Status" and "Category" conditions the mode's "ModeBusy" is in effect.
// The item keeps the times of the next such appointment of today in the
// mode's "StartHourOutlook", "StartMinutesOutlook", "StopHourOutlook" and
// "StopMinutesOutlook", which the scheduler wakes the phone for and the
// minute's switches act on.
#pragma once

#include <windows.h>

#include "store/mode_keys.h"
#include "store/mode_record.h"
#include "today/mode_values.h"

// Room for an appointment's category list.
#define APPOINTMENT_CATEGORIES_SIZE 200

struct Appointment {
  SYSTEMTIME Start;
  SYSTEMTIME End;
  DWORD Status;
  WCHAR Categories[APPOINTMENT_CATEGORIES_SIZE];
};

// True when the appointment meets a mode's conditions ("Status" STATUS_ANY
// and "Category" CATEGORY_ANY put none). Categories compare
// without regard to case, each of the comma-separated list on its own.
BOOL AppointmentMatches(const Appointment* appointment, DWORD status, LPCWSTR category);

// More appointments than this on the phone are not looked at.
#define APPOINTMENTS_CAPACITY 256

// Reads every appointment of the calendar that has a start and an end, up to
// `capacity`; returns how many.
int ReadAppointments(Appointment* appointments, int capacity);

// Works out the four calendar times of every present mode in `modes` at
// `now` from `appointments`: the next matching appointment of today that has
// not ended (zeros where none is left or the rule is off). Returns the mode
// that an appointment going on now calls for when the active mode's rule is
// on, with the time it began in `began`, else 0. Reads and writes nothing
// else, so that the week ahead can be worked out the same way.
DWORD WorkOutCalendarTimes(const Appointment* appointments, int count, ModeSwitchValues modes[LAST_MODE + 1],
                           const SYSTEMTIME* now, DWORD activeMode, SYSTEMTIME* began);

// Re-reads the calendar and writes the four calendar times of every mode
// (zeros where no appointment of today is left or the rule is off; all four
// whenever one of them changes), then registers the next
// wake-up when a time changed. Returns the mode that an appointment going on
// now calls for when the active mode's rule is on, with the time the
// appointment began in `began`, else 0.
DWORD RefreshCalendarTimes(const SYSTEMTIME* now, DWORD activeMode, SYSTEMTIME* began);
